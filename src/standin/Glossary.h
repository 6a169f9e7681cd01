#pragma once

#include <string>

namespace quorvex {

// Word-by-word translation between English and Chinese from a small built-in glossary, for the
// stand-in of the translation service. Words it does not know stay as they are.
std::string EnglishToChinese(const std::string& text);
std::string ChineseToEnglish(const std::string& text);

} // namespace quorvex
