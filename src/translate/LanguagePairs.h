#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// One language pair: the caption the combo box shows and the service code, source "|" target.
struct TLanguagePair {
    std::string_view Caption;
    std::string_view Code;
    int ComboBoxItem; // position in the window's combo box; kNotOffered for none
};

inline constexpr int kNotOffered = -1;

// Looked up by caption in this order. Rows 8 and 9 exist but no combo-box item carries them.
inline constexpr std::array<TLanguagePair, 10> kLanguagePairs{{
    {"英语 翻译成 中文(简体) BETA", "en|zh-CN", 0},
    {"中文(简体) 翻译成 英语 BETA", "zh|en", 1},
    {"中文(简体到繁体) BETA", "zh-CN|zh-TW", 2},
    {"中文(繁体到简体) BETA", "zh-TW|zh-CN", 3},
    {"英语 翻译成 西班牙语", "en|es", 4},
    {"英语 翻译成 法语", "en|fr", 5},
    {"英语 翻译成 日语 BETA", "en|ja", 6},
    {"英语 翻译成 阿拉伯文 BETA", "en|ar", kNotOffered},
    {"法语 翻译成 英语", "fr|en", kNotOffered},
    {"日语 翻译成 英语 BETA", "ja|en", 7},
}};

// The code of the first row whose caption equals `caption` byte for byte; empty when none does.
std::string LanguageCodeForCaption(const std::string& caption);

// The first row whose caption equals `caption` byte for byte; nullptr when none does.
const TLanguagePair* PairForCaption(const std::string& caption);

// The captions of the combo box, in item order.
std::vector<std::string> ComboBoxCaptions();

} // namespace quorvex
