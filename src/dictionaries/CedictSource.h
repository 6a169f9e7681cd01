#pragma once

#include "dictionaries/CedictIndex.h"
#include "dictionaries/DictionarySource.h"

#include <memory>

namespace quorvex::dictionaries {

inline constexpr const char* kCedictFileName = "cedict_ts.u8";
inline constexpr const char* kCedictName = "CC-CEDICT (CC BY-SA 4.0)";
// Where an installed program finds its copy, relative to the program's folder.
inline constexpr const char* kInstalledDataFolder = "../share/quorvex/";

// Where CC-CEDICT is read from: QUORVEX_CEDICT (or the setting Dictionary/Cedict), else
// $XDG_DATA_HOME/Quorvex/cedict_ts.u8, else the installed data folder; empty when none exists.
std::string CedictPath();

// The index of the file at `path`, built at the first call for that path and kept for the
// process's life. Throws SourceFailure when the file cannot be read.
std::shared_ptr<const CedictIndex> SharedCedictIndex(const std::string& path);

// CC-CEDICT, offline: Chinese to English by simplified or traditional headword (a phrase as
// its longest headwords), English to Chinese by entries whose sense is the word.
class CedictSource final : public DictionarySource {
public:
    explicit CedictSource(std::string path = CedictPath());

    std::string Name() const override { return "cedict"; }
    bool Serves(const TLanguagePair& pair) const override;
    std::vector<Entry> Lookup(const std::string& word, const TLanguagePair& pair) override;

private:
    std::string path_;
};

} // namespace quorvex::dictionaries
