#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::dictionaries {

// Where one definition lies in a .dict file (before compression).
struct DefinitionPlace {
    std::uint64_t Offset;
    std::uint64_t Length;
};

// The places an .index text gives for `word` (lines "word TAB offset TAB length", numbers in
// base64 digits), in the order of the file; ASCII letters match in either case.
std::vector<DefinitionPlace> FindInIndex(const std::string& indexText, const std::string& word);

// The value of a number in the base64 digits of .index files ("Nsy"); throws SourceFailure for
// any other character.
std::uint64_t Base64Number(std::string_view digits);

// Reads ranges of a dictzip file (gzip whose extra field "RA" lists independently compressed
// chunks), inflating only the chunks a range touches.
class DictzipFile {
public:
    // Reads the header; throws SourceFailure when the file cannot be read or is not dictzip.
    explicit DictzipFile(std::string path);
    std::string Read(const DefinitionPlace& place) const;

private:
    std::string path_;
    std::uint64_t chunkLength_ = 0;
    std::vector<std::uint64_t> chunkStarts_; // in the file; one more than chunks: the end
};

// A dictd database: its .index and its .dict.dz (or plain .dict) file.
class DictdDatabase {
public:
    DictdDatabase(std::string indexPath, std::string dataPath);
    // The texts of the definitions of `word`; throws SourceFailure when a file cannot be read.
    std::vector<std::string> Definitions(const std::string& word) const;

private:
    std::string indexPath_;
    std::string dataPath_;
};

} // namespace quorvex::dictionaries
