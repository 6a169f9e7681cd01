#include "dictionaries/Pinyin.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quorvex::dictionaries {
namespace {

// "u:" stands for ü; inside a syllable it is held as this letter while the mark is placed.
constexpr char kUmlautU = 'v';
constexpr std::string_view kVowels = "aeiouvAEIOUV";

struct MarkedVowel {
    char Vowel;
    std::array<const char*, 4> Tones; // tones 1 to 4
};

constexpr std::array<MarkedVowel, 12> kMarkedVowels{{
    {'a', {"ā", "á", "ǎ", "à"}},
    {'e', {"ē", "é", "ě", "è"}},
    {'i', {"ī", "í", "ǐ", "ì"}},
    {'o', {"ō", "ó", "ǒ", "ò"}},
    {'u', {"ū", "ú", "ǔ", "ù"}},
    {'v', {"ǖ", "ǘ", "ǚ", "ǜ"}},
    {'A', {"Ā", "Á", "Ǎ", "À"}},
    {'E', {"Ē", "É", "Ě", "È"}},
    {'I', {"Ī", "Í", "Ǐ", "Ì"}},
    {'O', {"Ō", "Ó", "Ǒ", "Ò"}},
    {'U', {"Ū", "Ú", "Ǔ", "Ù"}},
    {'V', {"Ǖ", "Ǘ", "Ǚ", "Ǜ"}},
}};

std::string Unmarked(char letter) {
    if (letter == kUmlautU)
        return "ü";
    if (letter == std::toupper(kUmlautU))
        return "Ü";
    return std::string(1, letter);
}

std::string Marked(char vowel, int tone) {
    for (const MarkedVowel& marked : kMarkedVowels) {
        if (marked.Vowel == vowel)
            return marked.Tones[tone - 1];
    }
    return Unmarked(vowel);
}

// Where the mark goes: on a or e, on the o of "ou", else on the last vowel; npos for none.
std::size_t MarkPosition(std::string_view letters) {
    const std::size_t aOrE = letters.find_first_of("aeAE");
    if (aOrE != std::string_view::npos)
        return aOrE;
    const std::size_t ou = letters.find("ou");
    if (ou != std::string_view::npos)
        return ou;
    const std::size_t capitalOu = letters.find("Ou");
    if (capitalOu != std::string_view::npos)
        return capitalOu;
    return letters.find_last_of(kVowels);
}

// The letters of a numbered syllable with "u:" folded into one letter; empty when `token` is
// not one (letters then a tone digit).
std::string SyllableLetters(std::string_view token) {
    std::string letters;
    for (std::size_t i = 0; i + 1 < token.size(); ++i) {
        const char c = token[i];
        if (c == ':' && !letters.empty() && (letters.back() == 'u' || letters.back() == 'U'))
            letters.back() =
                letters.back() == 'u' ? kUmlautU : static_cast<char>(std::toupper(kUmlautU));
        else if (std::isalpha(static_cast<unsigned char>(c)))
            letters += c;
        else
            return {};
    }
    return letters;
}

std::string MarkSyllable(std::string_view token) {
    if (token.size() < 2 || token.back() < '1' || token.back() > '5')
        return std::string(token);
    const std::string letters = SyllableLetters(token);
    if (letters.empty())
        return std::string(token);
    const int tone = token.back() - '0';
    const std::size_t mark = tone == 5 ? std::string_view::npos : MarkPosition(letters);
    std::string syllable;
    for (std::size_t i = 0; i < letters.size(); ++i)
        syllable += i == mark ? Marked(letters[i], tone) : Unmarked(letters[i]);
    return syllable;
}

} // namespace

std::string PinyinWithToneMarks(std::string_view numbered) {
    std::string marked;
    std::size_t start = 0;
    while (start <= numbered.size()) {
        const std::size_t end = std::min(numbered.find(' ', start), numbered.size());
        if (start > 0)
            marked += ' ';
        marked += MarkSyllable(numbered.substr(start, end - start));
        start = end + 1;
    }
    return marked;
}

} // namespace quorvex::dictionaries
