#include "dictionaries/DictdDatabase.h"

#include "dictionaries/DictionarySource.h"
#include "platform/FileContents.h"
#include "platform/Inflate.h"

#include <map>
#include <mutex>

namespace quorvex::dictionaries {
namespace {

constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kCompressedSuffix = ".dz";

// The gzip header: magic, method, flags, time, extra flags, system (RFC 1952).
constexpr std::size_t kGzipFixedHeader = 10;
constexpr unsigned char kGzipFlagCrc = 0x02;
constexpr unsigned char kGzipFlagExtra = 0x04;
constexpr unsigned char kGzipFlagName = 0x08;
constexpr unsigned char kGzipFlagComment = 0x10;
// Enough for the largest extra field (64 KiB) with a file name and a comment.
constexpr std::size_t kLargestHeader = 80 * 1024;
// Version, chunk length and chunk count lead the "RA" field.
constexpr std::size_t kRandomAccessFixed = 6;

unsigned Word16(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// The .index text of `path`, read once and kept: a big dictionary's index is megabytes.
std::shared_ptr<const std::string> SharedIndexText(const std::string& path) {
    static std::mutex guard;
    static std::map<std::string, std::shared_ptr<const std::string>> texts;
    const std::lock_guard lock(guard);
    auto found = texts.find(path);
    if (found != texts.end())
        return found->second;
    try {
        auto text = std::make_shared<const std::string>(platform::ReadWholeFile(path));
        texts.emplace(path, text);
        return text;
    } catch (const Exception& failure) {
        throw SourceFailure(failure.what());
    }
}

std::size_t SkipZeroTerminated(std::string_view header, std::size_t at) {
    const std::size_t end = header.find('\0', at);
    if (end == std::string_view::npos)
        throw SourceFailure("the dictzip header has no end");
    return end + 1;
}

} // namespace

std::uint64_t Base64Number(std::string_view digits) {
    std::uint64_t value = 0;
    for (char digit : digits) {
        const std::size_t place = kBase64Digits.find(digit);
        if (place == std::string_view::npos || value >> 58 != 0)
            throw SourceFailure("the index holds a bad number '" + std::string(digits) + "'");
        value = value * 64 + place;
    }
    return value;
}

std::vector<DefinitionPlace> FindInIndex(const std::string& indexText, const std::string& word) {
    std::vector<DefinitionPlace> places;
    const std::string_view text = indexText;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t firstTab = line.find('\t');
        if (firstTab == std::string_view::npos ||
            !EqualIgnoringCase(line.substr(0, firstTab), word))
            continue;
        const std::size_t secondTab = line.find('\t', firstTab + 1);
        if (secondTab == std::string_view::npos)
            throw SourceFailure("the index line of '" + word + "' has no length");
        const std::size_t lengthEnd = std::min(line.find('\t', secondTab + 1), line.size());
        places.push_back({Base64Number(line.substr(firstTab + 1, secondTab - firstTab - 1)),
                          Base64Number(line.substr(secondTab + 1, lengthEnd - secondTab - 1))});
    }
    return places;
}

DictzipFile::DictzipFile(std::string path)
    : path_(std::move(path)) {
    std::string header;
    try {
        header = platform::ReadFileRange(path_, 0, kLargestHeader);
    } catch (const Exception& failure) {
        throw SourceFailure(failure.what());
    }
    const auto notDictzip = [&] { return SourceFailure(path_ + " is not a dictzip file"); };
    if (header.size() < kGzipFixedHeader + 2 || header.compare(0, 2, "\x1f\x8b") != 0 ||
        !(header[3] & kGzipFlagExtra))
        throw notDictzip();
    const unsigned char flags = header[3];
    const std::size_t extraLength = Word16(header, kGzipFixedHeader);
    std::size_t at = kGzipFixedHeader + 2;
    const std::size_t extraEnd = at + extraLength;
    if (extraEnd > header.size())
        throw notDictzip();
    while (at + 4 <= extraEnd && chunkStarts_.empty()) {
        const std::size_t fieldLength = Word16(header, at + 2);
        if (header.compare(at, 2, "RA") == 0 && fieldLength >= kRandomAccessFixed &&
            at + 4 + fieldLength <= extraEnd) {
            chunkLength_ = Word16(header, at + 6);
            const std::size_t count = Word16(header, at + 8);
            if (fieldLength < kRandomAccessFixed + 2 * count || chunkLength_ == 0)
                throw notDictzip();
            chunkStarts_.push_back(0);
            for (std::size_t i = 0; i < count; ++i)
                chunkStarts_.push_back(chunkStarts_.back() + Word16(header, at + 10 + 2 * i));
        }
        at += 4 + fieldLength;
    }
    if (chunkStarts_.empty())
        throw notDictzip();
    std::size_t dataStart = extraEnd;
    if (flags & kGzipFlagName)
        dataStart = SkipZeroTerminated(header, dataStart);
    if (flags & kGzipFlagComment)
        dataStart = SkipZeroTerminated(header, dataStart);
    if (flags & kGzipFlagCrc)
        dataStart += 2;
    for (std::uint64_t& start : chunkStarts_)
        start += dataStart;
}

std::string DictzipFile::Read(const DefinitionPlace& place) const {
    if (place.Length == 0)
        return {};
    const std::uint64_t firstChunk = place.Offset / chunkLength_;
    const std::uint64_t lastChunk = (place.Offset + place.Length - 1) / chunkLength_;
    if (lastChunk + 1 >= chunkStarts_.size())
        throw SourceFailure("a definition lies beyond the end of " + path_);
    try {
        const std::string compressed =
            platform::ReadFileRange(path_, chunkStarts_[firstChunk],
                                    chunkStarts_[lastChunk + 1] - chunkStarts_[firstChunk]);
        std::string inflated;
        for (std::uint64_t chunk = firstChunk; chunk <= lastChunk; ++chunk) {
            const std::size_t from = chunkStarts_[chunk] - chunkStarts_[firstChunk];
            inflated += platform::InflateRaw(
                std::string_view(compressed)
                    .substr(from, chunkStarts_[chunk + 1] - chunkStarts_[chunk]),
                chunkLength_);
        }
        return inflated.substr(
            std::min<std::uint64_t>(place.Offset - firstChunk * chunkLength_, inflated.size()),
            place.Length);
    } catch (const SourceFailure&) {
        throw;
    } catch (const Exception& failure) {
        throw SourceFailure(path_ + ": " + failure.what());
    }
}

DictdDatabase::DictdDatabase(std::string indexPath, std::string dataPath)
    : indexPath_(std::move(indexPath))
    , dataPath_(std::move(dataPath)) {}

std::vector<std::string> DictdDatabase::Definitions(const std::string& word) const {
    const std::vector<DefinitionPlace> places = FindInIndex(*SharedIndexText(indexPath_), word);
    std::vector<std::string> definitions;
    if (places.empty())
        return definitions;
    if (dataPath_.ends_with(kCompressedSuffix)) {
        const DictzipFile data(dataPath_);
        for (const DefinitionPlace& place : places)
            definitions.push_back(data.Read(place));
        return definitions;
    }
    try {
        for (const DefinitionPlace& place : places)
            definitions.push_back(platform::ReadFileRange(dataPath_, place.Offset, place.Length));
    } catch (const Exception& failure) {
        throw SourceFailure(failure.what());
    }
    return definitions;
}

} // namespace quorvex::dictionaries
