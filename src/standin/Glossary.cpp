#include "standin/Glossary.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace quorvex {
namespace {

struct TEntry {
    std::string_view English; // as written in English output; matched without regard to case
    std::string_view Chinese;
};

// The first entry of a Chinese word gives its English form.
constexpr std::array<TEntry, 44> kGlossary{{
    {"hello", "你好"},   {"hi", "你好"},       {"world", "世界"},     {"good", "好"},
    {"morning", "早上"}, {"evening", "晚上"},  {"night", "夜晚"},     {"thanks", "谢谢"},
    {"thank", "谢谢"},   {"I", "我"},          {"me", "我"},          {"my", "我的"},
    {"you", "你"},       {"your", "你的"},     {"we", "我们"},        {"he", "他"},
    {"she", "她"},       {"love", "爱"},       {"like", "喜欢"},      {"China", "中国"},
    {"Chinese", "中文"}, {"English", "英语"},  {"translate", "翻译"}, {"translation", "翻译"},
    {"text", "文本"},    {"book", "书"},       {"friend", "朋友"},    {"friends", "朋友们"},
    {"today", "今天"},   {"tomorrow", "明天"}, {"weather", "天气"},   {"is", "是"},
    {"are", "是"},       {"very", "很"},       {"nice", "不错"},      {"welcome", "欢迎"},
    {"to", "到"},        {"the", "这"},        {"computer", "电脑"},  {"language", "语言"},
    {"learn", "学习"},   {"read", "读"},       {"write", "写"},       {"dictionary", "词典"},
}};

// Chinese punctuation and its English counterpart.
constexpr std::array<TEntry, 6> kPunctuation{{
    {",", "，"},
    {".", "。"},
    {"!", "！"},
    {"?", "？"},
    {":", "："},
    {";", "；"},
}};

bool IsWordByte(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '\'';
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const TEntry* FindEnglish(std::string_view word) {
    auto found = std::find_if(kGlossary.begin(), kGlossary.end(),
                              [&](const TEntry& entry) { return SameWord(entry.English, word); });
    return found == kGlossary.end() ? nullptr : &*found;
}

// The longest glossary or punctuation entry whose Chinese starts `text`.
const TEntry* LongestChineseAt(std::string_view text) {
    const TEntry* best = nullptr;
    auto consider = [&](const TEntry& entry) {
        if (text.substr(0, entry.Chinese.size()) == entry.Chinese &&
            (best == nullptr || entry.Chinese.size() > best->Chinese.size()))
            best = &entry;
    };
    std::for_each(kGlossary.begin(), kGlossary.end(), consider);
    std::for_each(kPunctuation.begin(), kPunctuation.end(), consider);
    return best;
}

size_t Utf8CharacterLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    return lead >= 0xC0 ? 2 : 1;
}

bool IsChinese(const std::string& language) {
    return language.starts_with("zh") || language == "zt" || language == "cht";
}

bool IsPunctuation(const TEntry* entry) {
    return entry >= kPunctuation.data() && entry < kPunctuation.data() + kPunctuation.size();
}

} // namespace

std::string EnglishToChinese(const std::string& text) {
    std::string result;
    bool lastWasTranslated = false;
    std::string pendingSpaces;
    for (size_t i = 0; i < text.size();) {
        size_t end = i;
        while (end < text.size() && IsWordByte(text[end]))
            ++end;
        if (end == i) {
            // Spaces between two translated words vanish, as Chinese writes no spaces.
            if (text[i] == ' ') {
                pendingSpaces += ' ';
            } else {
                result += pendingSpaces + text[i];
                pendingSpaces.clear();
                lastWasTranslated = false;
            }
            ++i;
            continue;
        }
        const TEntry* entry = FindEnglish(std::string_view(text).substr(i, end - i));
        if (!(entry && lastWasTranslated))
            result += pendingSpaces;
        pendingSpaces.clear();
        result += entry ? std::string(entry->Chinese) : text.substr(i, end - i);
        lastWasTranslated = entry != nullptr;
        i = end;
    }
    return result + pendingSpaces;
}

std::string ChineseToEnglish(const std::string& text) {
    std::string result;
    bool lastWasWord = false;
    bool spaceAfterPunctuation = false;
    for (size_t i = 0; i < text.size();) {
        spaceAfterPunctuation = false;
        const TEntry* entry = LongestChineseAt(std::string_view(text).substr(i));
        if (entry == nullptr) {
            size_t length = std::min(Utf8CharacterLength(text[i]), text.size() - i);
            result.append(text, i, length);
            lastWasWord = length == 1 && IsWordByte(text[i]);
            i += length;
            continue;
        }
        const bool punctuation = IsPunctuation(entry);
        if (lastWasWord && !punctuation)
            result += ' ';
        result += entry->English;
        if (punctuation)
            result += ' ';
        spaceAfterPunctuation = punctuation;
        lastWasWord = !punctuation;
        i += entry->Chinese.size();
    }
    if (spaceAfterPunctuation) // nothing follows the last punctuation mark
        result.pop_back();
    return result;
}

std::string TranslateWithGlossary(const std::string& source, const std::string& target,
                                  const std::string& text) {
    if (source == "en" && IsChinese(target))
        return EnglishToChinese(text);
    if (IsChinese(source) && target == "en")
        return ChineseToEnglish(text);
    return text; // the stand-in knows no other language
}

} // namespace quorvex
