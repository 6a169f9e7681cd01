#include "dictionaries/DictionarySource.h"

namespace quorvex::dictionaries {

PairLanguages LanguagesOf(const TLanguagePair& pair) {
    const std::string_view code = pair.Code;
    const std::size_t bar = code.find('|');
    if (bar == std::string_view::npos)
        return {std::string(code), {}};
    return {std::string(code.substr(0, bar)), std::string(code.substr(bar + 1))};
}

bool IsChinese(const std::string& language) {
    return language == "zh" || language.starts_with("zh-");
}

} // namespace quorvex::dictionaries
