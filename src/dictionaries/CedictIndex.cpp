#include "dictionaries/CedictIndex.h"

#include <algorithm>
#include <limits>
#include <type_traits>

namespace quorvex::dictionaries {
namespace {

// A phrase is cut into headwords of at most this many bytes (16 Chinese characters).
constexpr std::size_t kLongestHeadwordBytes = 48;
constexpr std::string_view kVerbPrefix = "to ";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A sense as the gloss index compares it: without a leading "to ".
std::string_view GlossKey(std::string_view sense) {
    if (sense.size() > kVerbPrefix.size() &&
        std::equal(kVerbPrefix.begin(), kVerbPrefix.end(), sense.begin(),
                   [](char a, char b) { return a == Lower(b); }))
        sense.remove_prefix(kVerbPrefix.size());
    return sense;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = Lower(a[i]);
        const unsigned char y = Lower(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The byte length of the UTF-8 character that starts `text`.
std::size_t CharacterLength(std::string_view text) {
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

std::vector<std::string_view> SplitSenses(std::string_view senses) {
    std::vector<std::string_view> split;
    std::size_t start = 0;
    while (start < senses.size()) {
        const std::size_t end = std::min(senses.find('/', start), senses.size());
        if (end > start)
            split.push_back(senses.substr(start, end - start));
        start = end + 1;
    }
    return split;
}

} // namespace

bool ParseCedictLine(std::string_view text, CedictLine& line) {
    const std::size_t firstBlank = text.find(' ');
    const std::size_t secondBlank = text.find(' ', firstBlank + 1);
    const std::size_t pinyinStart = text.find(" [", firstBlank);
    const std::size_t pinyinEnd = text.find("] /", pinyinStart);
    if (firstBlank == std::string_view::npos || secondBlank != pinyinStart ||
        pinyinEnd == std::string_view::npos || text.back() != '/')
        return false;
    line.Traditional = text.substr(0, firstBlank);
    line.Simplified = text.substr(firstBlank + 1, secondBlank - firstBlank - 1);
    line.Pinyin = text.substr(pinyinStart + 2, pinyinEnd - pinyinStart - 2);
    line.Senses = SplitSenses(text.substr(pinyinEnd + 3));
    return !line.Traditional.empty() && !line.Simplified.empty();
}

CedictIndex::CedictIndex(std::string text)
    : text_(std::move(text)) {
    if (text_.size() >= std::numeric_limits<std::uint32_t>::max())
        text_.clear(); // no dictionary has four gigabytes: this is not one
    std::uint32_t offset = 0;
    const auto size = static_cast<std::uint32_t>(text_.size());
    while (offset < size) {
        std::uint32_t end =
            static_cast<std::uint32_t>(std::min<std::size_t>(text_.find('\n', offset), size));
        IndexLine(offset, end);
        offset = end + 1;
    }
    const auto byText = [this](const Key& a, const Key& b) { return KeyText(a) < KeyText(b); };
    std::sort(headwords_.begin(), headwords_.end(), byText);
    std::sort(senses_.begin(), senses_.end(), [this](const Key& a, const Key& b) {
        return CompareIgnoringCase(KeyText(a), KeyText(b)) < 0;
    });
    headwords_.shrink_to_fit();
    senses_.shrink_to_fit();
    lines_.shrink_to_fit();
}

void CedictIndex::IndexLine(std::uint32_t offset, std::uint32_t end) {
    std::uint32_t contentEnd = end;
    if (contentEnd > offset && text_[contentEnd - 1] == '\r')
        --contentEnd;
    const std::string_view text(text_.data() + offset, contentEnd - offset);
    CedictLine line;
    if (text.empty() || text[0] == '#' || !ParseCedictLine(text, line))
        return;
    const auto lineNumber = static_cast<std::uint32_t>(lines_.size());
    lines_.push_back(offset);
    const auto keyOf = [&](std::string_view piece, std::size_t sense) {
        return Key{static_cast<std::uint32_t>(piece.data() - text_.data()), lineNumber,
                   static_cast<std::uint16_t>(std::min<std::size_t>(piece.size(), UINT16_MAX)),
                   static_cast<std::uint16_t>(std::min<std::size_t>(sense, UINT16_MAX))};
    };
    headwords_.push_back(keyOf(line.Simplified, 0));
    if (line.Traditional != line.Simplified)
        headwords_.push_back(keyOf(line.Traditional, 0));
    for (std::size_t sense = 0; sense < line.Senses.size(); ++sense)
        senses_.push_back(keyOf(GlossKey(line.Senses[sense]), sense));
}

std::string_view CedictIndex::KeyText(const Key& key) const {
    return std::string_view(text_.data() + key.Offset, key.Length);
}

std::string_view CedictIndex::LineText(std::uint32_t line) const {
    const std::uint32_t offset = lines_[line];
    std::size_t end = text_.find('\n', offset);
    end = std::min(end, text_.size());
    if (end > offset && text_[end - 1] == '\r')
        --end;
    return std::string_view(text_.data() + offset, end - offset);
}

std::vector<CedictLine> CedictIndex::LinesOf(std::vector<Key>::const_iterator first,
                                             std::vector<Key>::const_iterator last) const {
    std::vector<Key> keys(first, last);
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.Sense != b.Sense ? a.Sense < b.Sense : a.Line < b.Line;
    });
    std::vector<CedictLine> lines;
    std::vector<std::uint32_t> taken;
    for (const Key& key : keys) {
        if (std::find(taken.begin(), taken.end(), key.Line) != taken.end())
            continue; // a line that gives the word twice
        taken.push_back(key.Line);
        CedictLine line;
        ParseCedictLine(LineText(key.Line), line);
        lines.push_back(line);
    }
    return lines;
}

std::vector<CedictLine> CedictIndex::ByHeadword(std::string_view chinese) const {
    const auto [first, last] = std::equal_range(
        headwords_.begin(), headwords_.end(), chinese, [this](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Key>)
                return KeyText(a) < b;
            else
                return a < KeyText(b);
        });
    return LinesOf(first, last);
}

std::size_t CedictIndex::LongestHeadwordAt(std::string_view text) const {
    std::vector<std::size_t> prefixLengths;
    for (std::size_t length = 0; length < text.size() && length < kLongestHeadwordBytes;) {
        length += CharacterLength(text.substr(length));
        prefixLengths.push_back(std::min(length, text.size()));
    }
    for (auto length = prefixLengths.rbegin(); length != prefixLengths.rend(); ++length) {
        const std::string_view prefix = text.substr(0, *length);
        const auto found = std::lower_bound(
            headwords_.begin(), headwords_.end(), prefix,
            [this](const Key& key, std::string_view wanted) { return KeyText(key) < wanted; });
        if (found != headwords_.end() && KeyText(*found) == prefix)
            return *length;
    }
    return 0;
}

std::vector<CedictLine> CedictIndex::ByGloss(std::string_view english) const {
    const std::string_view wanted = GlossKey(english);
    const auto [first, last] = std::equal_range(
        senses_.begin(), senses_.end(), wanted, [this](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Key>)
                return CompareIgnoringCase(KeyText(a), b) < 0;
            else
                return CompareIgnoringCase(a, KeyText(b)) < 0;
        });
    return LinesOf(first, last);
}

std::size_t CedictIndex::MemoryBytes() const {
    return text_.capacity() + lines_.capacity() * sizeof(std::uint32_t) +
           (headwords_.capacity() + senses_.capacity()) * sizeof(Key);
}

} // namespace quorvex::dictionaries
