#include "platform/SystemLanguage.h"

#include <array>
#include <cstdlib>

namespace quorvex::platform {
namespace {

inline constexpr unsigned kSubLangDefault = 1;
inline constexpr unsigned kLangChinese = 0x04;
inline constexpr unsigned kLangPortuguese = 0x16;
inline constexpr unsigned kSubLangPortugal = 2;

struct TLanguageCode {
    std::string_view Code;
    unsigned Primary;
};

// ISO 639 codes of the languages a locale names, with Windows' primary language ids.
constexpr std::array kLanguageCodes{
    TLanguageCode{"af", 0x36}, TLanguageCode{"ar", 0x01}, TLanguageCode{"bg", 0x02},
    TLanguageCode{"ca", 0x03}, TLanguageCode{"cs", 0x05}, TLanguageCode{"da", 0x06},
    TLanguageCode{"de", 0x07}, TLanguageCode{"el", 0x08}, TLanguageCode{"en", 0x09},
    TLanguageCode{"es", 0x0A}, TLanguageCode{"et", 0x25}, TLanguageCode{"eu", 0x2D},
    TLanguageCode{"fa", 0x29}, TLanguageCode{"fi", 0x0B}, TLanguageCode{"fr", 0x0C},
    TLanguageCode{"he", 0x0D}, TLanguageCode{"hi", 0x39}, TLanguageCode{"hr", 0x1A},
    TLanguageCode{"hu", 0x0E}, TLanguageCode{"id", 0x21}, TLanguageCode{"is", 0x0F},
    TLanguageCode{"it", 0x10}, TLanguageCode{"ja", 0x11}, TLanguageCode{"ko", 0x12},
    TLanguageCode{"lt", 0x27}, TLanguageCode{"lv", 0x26}, TLanguageCode{"ms", 0x3E},
    TLanguageCode{"nb", 0x14}, TLanguageCode{"nl", 0x13}, TLanguageCode{"nn", 0x14},
    TLanguageCode{"no", 0x14}, TLanguageCode{"pl", 0x15}, TLanguageCode{"pt", 0x16},
    TLanguageCode{"ro", 0x18}, TLanguageCode{"ru", 0x19}, TLanguageCode{"sk", 0x1B},
    TLanguageCode{"sl", 0x24}, TLanguageCode{"sr", 0x1A}, TLanguageCode{"sv", 0x1D},
    TLanguageCode{"th", 0x1E}, TLanguageCode{"tr", 0x1F}, TLanguageCode{"uk", 0x22},
    TLanguageCode{"vi", 0x2A}, TLanguageCode{"zh", 0x04},
};

struct TRegionSub {
    unsigned Primary;
    std::string_view Region;
    unsigned Sub;
};

// The sub-languages that choose between message tables; every other region is the default.
constexpr std::array kRegionSubs{
    TRegionSub{kLangChinese, "TW", 1},
    TRegionSub{kLangChinese, "CN", 2},
    TRegionSub{kLangChinese, "HK", 3},
    TRegionSub{kLangChinese, "SG", 2},
    TRegionSub{kLangChinese, "MO", 5},
    TRegionSub{kLangPortuguese, "BR", 1},
    TRegionSub{kLangPortuguese, "PT", kSubLangPortugal},
};

unsigned PrimaryOf(std::string_view language) {
    for (const TLanguageCode& entry : kLanguageCodes)
        if (entry.Code == language)
            return entry.Primary;
    return 0;
}

unsigned SubOf(unsigned primary, std::string_view region) {
    for (const TRegionSub& entry : kRegionSubs)
        if (entry.Primary == primary && entry.Region == region)
            return entry.Sub;
    // Portuguese without a region is the language of Portugal, not Brazil's variant.
    if (primary == kLangPortuguese && region.empty())
        return kSubLangPortugal;
    return kSubLangDefault;
}

} // namespace

std::string MessagesLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(variable); value != nullptr && *value != '\0')
            return value;
    return "C";
}

TLangID LangIDFromLocaleName(std::string_view name) {
    // language[_REGION][.codeset][@modifier]
    name = name.substr(0, name.find_first_of(".@"));
    const auto underscore = name.find('_');
    const std::string_view language = name.substr(0, underscore);
    const std::string_view region =
        underscore == std::string_view::npos ? std::string_view() : name.substr(underscore + 1);
    const unsigned primary = PrimaryOf(language);
    if (primary == 0)
        return 0;
    return MakeLangID(primary, SubOf(primary, region));
}

TLangID SystemDefaultLangID() {
    return LangIDFromLocaleName(MessagesLocaleName());
}

} // namespace quorvex::platform
