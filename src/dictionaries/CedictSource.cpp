#include "dictionaries/CedictSource.h"

#include "dictionaries/Pinyin.h"
#include "platform/Environment.h"
#include "platform/File.h"
#include "platform/FileContents.h"
#include "settings/Settings.h"

#include <map>
#include <mutex>

namespace quorvex::dictionaries {
namespace {

// A page shows this many entries at most: a short word has a few, a phrase one per headword.
constexpr std::size_t kMostEntries = 8;

// Numbered pinyin inside a sense ("CL:臺|台[tai2]") gets its tone marks too.
std::string SenseWithToneMarks(std::string_view sense) {
    std::string marked;
    for (std::size_t start = 0; start < sense.size();) {
        const std::size_t open = sense.find('[', start);
        const std::size_t close = sense.find(']', open);
        if (close == std::string_view::npos) {
            marked += sense.substr(start);
            break;
        }
        marked += sense.substr(start, open + 1 - start);
        marked += PinyinWithToneMarks(sense.substr(open + 1, close - open - 1));
        marked += ']';
        start = close + 1;
    }
    return marked;
}

Entry EntryOf(const CedictLine& line) {
    Entry entry;
    entry.Headword = std::string(line.Simplified);
    if (line.Traditional != line.Simplified)
        entry.Headword += " (" + std::string(line.Traditional) + ")";
    entry.Pronunciation = PinyinWithToneMarks(line.Pinyin);
    SenseGroup senses;
    for (std::string_view sense : line.Senses)
        senses.Meanings.push_back(SenseWithToneMarks(sense));
    entry.Senses.push_back(std::move(senses));
    entry.Source = kCedictName;
    return entry;
}

void AddEntries(const std::vector<CedictLine>& lines, std::vector<Entry>& entries) {
    for (const CedictLine& line : lines) {
        if (entries.size() == kMostEntries)
            return;
        entries.push_back(EntryOf(line));
    }
}

// The whole text as one headword, else the longest headwords from left to right; what starts
// no headword (punctuation, blanks) is passed over.
std::vector<Entry> ChineseEntries(const CedictIndex& index, std::string_view text) {
    std::vector<Entry> entries;
    AddEntries(index.ByHeadword(text), entries);
    if (!entries.empty())
        return entries;
    for (std::size_t position = 0; position < text.size() && entries.size() < kMostEntries;) {
        const std::size_t length = index.LongestHeadwordAt(text.substr(position));
        if (length == 0) {
            ++position;
            while (position < text.size() &&
                   (static_cast<unsigned char>(text[position]) & 0xC0) == 0x80)
                ++position;
            continue;
        }
        AddEntries(index.ByHeadword(text.substr(position, length)), entries);
        position += length;
    }
    return entries;
}

std::string FirstReadable(const std::vector<std::string>& candidates) {
    for (const std::string& path : candidates) {
        if (platform::ReadableFile(path))
            return path;
    }
    return {};
}

} // namespace

std::string CedictPath() {
    const std::string chosen = settings::Value("Dictionary/Cedict", "QUORVEX_CEDICT");
    if (!chosen.empty())
        return chosen;
    return FirstReadable({platform::DataHome() + "/Quorvex/" + kCedictFileName,
                          platform::ProgramFolder() + kInstalledDataFolder + kCedictFileName});
}

std::shared_ptr<const CedictIndex> SharedCedictIndex(const std::string& path) {
    static std::mutex guard;
    static std::map<std::string, std::shared_ptr<const CedictIndex>> indexes;
    const std::lock_guard lock(guard);
    auto& index = indexes[path];
    if (!index) {
        try {
            index = std::make_shared<const CedictIndex>(platform::ReadWholeFile(path));
        } catch (const Exception& failure) {
            indexes.erase(path);
            throw SourceFailure(failure.what());
        }
    }
    return index;
}

CedictSource::CedictSource(std::string path)
    : path_(std::move(path)) {}

bool CedictSource::Serves(const TLanguagePair& pair) const {
    const PairLanguages languages = LanguagesOf(pair);
    return !path_.empty() && (IsChinese(languages.Source) ||
                              (languages.Source == "en" && IsChinese(languages.Target)));
}

std::vector<Entry> CedictSource::Lookup(const std::string& word, const TLanguagePair& pair) {
    const auto index = SharedCedictIndex(path_);
    if (IsChinese(LanguagesOf(pair).Source))
        return ChineseEntries(*index, word);
    std::vector<Entry> entries;
    AddEntries(index->ByGloss(word), entries);
    return entries;
}

} // namespace quorvex::dictionaries
