#include "dictionaries/FreedictSource.h"

#include "dictionaries/DictdDatabase.h"
#include "dictionaries/PlainDefinition.h"
#include "platform/FileContents.h"
#include "settings/Settings.h"

#include <array>
#include <utility>

namespace quorvex::dictionaries {
namespace {

constexpr std::size_t kMostEntries = 6;

// The pair table's languages and FreeDict's three-letter codes.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kFreedictCodes{
    {{"en", "eng"}, {"es", "spa"}, {"fr", "fra"}, {"ja", "jpn"}, {"ar", "ara"}, {"zh", "zho"}}};

std::string FreedictCode(const std::string& language) {
    const std::string_view base = IsChinese(language) ? "zh" : std::string_view(language);
    for (const auto& [code, freedict] : kFreedictCodes) {
        if (code == base)
            return std::string(freedict);
    }
    return {};
}

std::vector<std::string> SplitFolders(const std::string& text) {
    std::vector<std::string> folders;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(':', start), text.size());
        if (end > start)
            folders.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

} // namespace

std::vector<std::string> DictFolders() {
    return SplitFolders(
        settings::Value("Dictionary/DictDirs", "QUORVEX_DICT_DIRS", kDefaultDictFolder));
}

std::string FreedictName(const TLanguagePair& pair) {
    const PairLanguages languages = LanguagesOf(pair);
    const std::string source = FreedictCode(languages.Source);
    const std::string target = FreedictCode(languages.Target);
    return source.empty() || target.empty() ? std::string() : "freedict-" + source + "-" + target;
}

FreedictSource::FreedictSource(std::vector<std::string> folders)
    : folders_(std::move(folders)) {}

std::optional<FreedictSource::Files> FreedictSource::FilesFor(const TLanguagePair& pair) const {
    const std::string name = FreedictName(pair);
    if (name.empty())
        return std::nullopt;
    for (const std::string& folder : folders_) {
        const std::string base = folder + "/" + name;
        if (!platform::ReadableFile(base + ".index"))
            continue;
        for (const char* suffix : {".dict.dz", ".dict"}) {
            if (platform::ReadableFile(base + suffix))
                return Files{base + ".index", base + suffix};
        }
    }
    return std::nullopt;
}

bool FreedictSource::Serves(const TLanguagePair& pair) const {
    return FilesFor(pair).has_value();
}

std::vector<Entry> FreedictSource::Lookup(const std::string& word, const TLanguagePair& pair) {
    const std::optional<Files> files = FilesFor(pair);
    if (!files)
        return {};
    std::vector<Entry> entries;
    for (const std::string& definition :
         DictdDatabase(files->Index, files->Data).Definitions(word)) {
        if (entries.size() == kMostEntries)
            break;
        entries.push_back(ParsePlainDefinition(definition, word));
        entries.back().Source = "FreeDict " + FreedictName(pair).substr(sizeof "freedict-" - 1);
    }
    return entries;
}

} // namespace quorvex::dictionaries
