#pragma once

#include <string>

namespace quorvex {

// Word-by-word translation between English and Chinese from a small built-in glossary, for the
// stand-in of the translation service. Words it does not know stay as they are.
std::string EnglishToChinese(const std::string& text);
std::string ChineseToEnglish(const std::string& text);

// `text` from language `source` to `target`, each a code of any service ("en", "zh-CN", "zt",
// "cht"): English and Chinese through the glossary, any other pair as it is.
std::string TranslateWithGlossary(const std::string& source, const std::string& target,
                                  const std::string& text);

} // namespace quorvex
