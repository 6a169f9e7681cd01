#include "services/LanguageCodes.h"

#include <array>
#include <string_view>

namespace quorvex::services {
namespace {

// One language of the pair table and what each service calls it. "zh" in the table is the
// simplified script, as its captions say.
struct LanguageRow {
    std::string_view Table;
    std::string_view Google;
    std::string_view LibreTranslate;
    std::string_view Baidu;
};

constexpr std::array<LanguageRow, 8> kLanguages{{
    {"en", "en", "en", "en"},
    {"zh", "zh-CN", "zh", "zh"},
    {"zh-CN", "zh-CN", "zh", "zh"},
    {"zh-TW", "zh-TW", "zt", "cht"},
    {"es", "es", "es", "spa"},
    {"fr", "fr", "fr", "fra"},
    {"ja", "ja", "ja", "jp"},
    {"ar", "ar", "ar", "ara"},
}};

std::optional<std::string> CodeFor(CodeSet set, std::string_view language) {
    for (const LanguageRow& row : kLanguages) {
        if (row.Table != language)
            continue;
        switch (set) {
        case CodeSet::Google:
            return std::string(row.Google);
        case CodeSet::LibreTranslate:
            return std::string(row.LibreTranslate);
        case CodeSet::Baidu:
            return std::string(row.Baidu);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<ServiceLanguages> LanguagesFor(CodeSet set, const TLanguagePair& pair) {
    const size_t bar = pair.Code.find('|');
    if (bar == std::string_view::npos)
        return std::nullopt;
    std::optional<std::string> source = CodeFor(set, pair.Code.substr(0, bar));
    std::optional<std::string> target = CodeFor(set, pair.Code.substr(bar + 1));
    if (!source || !target)
        return std::nullopt;
    return ServiceLanguages{*source, *target};
}

} // namespace quorvex::services
