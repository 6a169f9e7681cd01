#include "dictionaries/CedictIndex.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace quorvex::dictionaries {
namespace {

// A phrase is cut into headwords of at most this many bytes (16 Chinese characters).
constexpr std::size_t kLongestHeadwordBytes = 48;
constexpr std::string_view kVerbPrefix = "to ";
// The tables are at most this full, so that a probe ends after a few slots.
constexpr double kHighestLoad = 0.7;
constexpr std::uint32_t kHashStart = 2166136261u; // FNV-1a
constexpr std::uint32_t kHashPrime = 16777619u;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::uint32_t Hash(std::string_view text) {
    std::uint32_t hash = kHashStart;
    for (char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * kHashPrime;
    return hash;
}

std::uint32_t HashIgnoringCase(std::string_view text) {
    std::uint32_t hash = kHashStart;
    for (char c : text)
        hash = (hash ^ static_cast<unsigned char>(Lower(c))) * kHashPrime;
    return hash;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// A sense as the gloss index compares it: without a leading "to ".
std::string_view GlossKey(std::string_view sense) {
    if (sense.size() > kVerbPrefix.size() &&
        EqualIgnoringCase(sense.substr(0, kVerbPrefix.size()), kVerbPrefix))
        sense.remove_prefix(kVerbPrefix.size());
    return sense;
}

// The byte length of the UTF-8 character that starts `text`.
std::size_t CharacterLength(std::string_view text) {
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

// Calls `take` with each sense of "/sense/sense/" (without the slashes), skipping empty ones.
template <typename Take> void ForEachSense(std::string_view senses, const Take& take) {
    std::size_t start = 0;
    while (start < senses.size()) {
        const std::size_t end = std::min(senses.find('/', start), senses.size());
        if (end > start)
            take(senses.substr(start, end - start));
        start = end + 1;
    }
}

// The headwords and pinyin of a line and where its senses start; false when it is not a line.
bool ParseHead(std::string_view text, CedictLine& line, std::string_view& senses) {
    const std::size_t firstBlank = text.find(' ');
    const std::size_t secondBlank = text.find(' ', firstBlank + 1);
    const std::size_t pinyinStart = text.find(" [", firstBlank);
    const std::size_t pinyinEnd = text.find("] /", pinyinStart);
    if (firstBlank == 0 || firstBlank == std::string_view::npos || secondBlank != pinyinStart ||
        secondBlank == firstBlank + 1 || pinyinEnd == std::string_view::npos || text.back() != '/')
        return false;
    line.Traditional = text.substr(0, firstBlank);
    line.Simplified = text.substr(firstBlank + 1, secondBlank - firstBlank - 1);
    line.Pinyin = text.substr(pinyinStart + 2, pinyinEnd - pinyinStart - 2);
    senses = text.substr(pinyinEnd + 3);
    return true;
}

} // namespace

bool ParseCedictLine(std::string_view text, CedictLine& line) {
    std::string_view senses;
    if (!ParseHead(text, line, senses))
        return false;
    line.Senses.clear();
    ForEachSense(senses, [&](std::string_view sense) { line.Senses.push_back(sense); });
    return true;
}

void CedictIndex::Table::Fill(const std::vector<Slot>& slots) {
    slots_.assign(std::bit_ceil(static_cast<std::size_t>(slots.size() / kHighestLoad) + 1), Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : slots) {
        std::size_t at = slot.Hash & mask;
        while (slots_[at].Length != 0)
            at = (at + 1) & mask;
        slots_[at] = slot;
    }
}

template <typename Same>
std::vector<CedictIndex::Slot> CedictIndex::Table::Find(std::uint32_t hash,
                                                        const Same& same) const {
    std::vector<Slot> found;
    if (slots_.empty())
        return found;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask; slots_[at].Length != 0; at = (at + 1) & mask) {
        if (slots_[at].Hash == hash && same(slots_[at]))
            found.push_back(slots_[at]);
    }
    return found;
}

CedictIndex::CedictIndex(std::string text)
    : text_(std::move(text)) {
    if (text_.size() >= std::numeric_limits<std::uint32_t>::max())
        text_.clear(); // no dictionary has four gigabytes: this is not one
    // Room for a typical line (two headwords, three senses) saves copying while the text is read.
    const auto lineCount =
        static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n')) + 1;
    lines_.reserve(lineCount);
    std::vector<Slot> headwords;
    std::vector<Slot> senses;
    headwords.reserve(2 * lineCount);
    senses.reserve(3 * lineCount);
    const auto size = static_cast<std::uint32_t>(text_.size());
    for (std::uint32_t offset = 0; offset < size;) {
        const auto end =
            static_cast<std::uint32_t>(std::min<std::size_t>(text_.find('\n', offset), size));
        IndexLine(offset, end, headwords, senses);
        offset = end + 1;
    }
    headwords_.Fill(headwords);
    senses_.Fill(senses);
    lines_.shrink_to_fit();
}

void CedictIndex::IndexLine(std::uint32_t offset, std::uint32_t end, std::vector<Slot>& headwords,
                            std::vector<Slot>& senses) {
    std::uint32_t contentEnd = end;
    if (contentEnd > offset && text_[contentEnd - 1] == '\r')
        --contentEnd;
    const std::string_view text(text_.data() + offset, contentEnd - offset);
    CedictLine line;
    std::string_view lineSenses;
    if (text.empty() || text[0] == '#' || !ParseHead(text, line, lineSenses))
        return;
    const auto lineNumber = static_cast<std::uint32_t>(lines_.size());
    lines_.push_back(offset);
    const auto slotOf = [&](std::string_view piece, std::uint32_t hash, std::size_t sense) {
        return Slot{hash, static_cast<std::uint32_t>(piece.data() - text_.data()), lineNumber,
                    static_cast<std::uint16_t>(std::min<std::size_t>(piece.size(), UINT16_MAX)),
                    static_cast<std::uint16_t>(std::min<std::size_t>(sense, UINT16_MAX))};
    };
    headwords.push_back(slotOf(line.Simplified, Hash(line.Simplified), 0));
    if (line.Traditional != line.Simplified)
        headwords.push_back(slotOf(line.Traditional, Hash(line.Traditional), 0));
    std::size_t sense = 0;
    ForEachSense(lineSenses, [&](std::string_view text) {
        const std::string_view key = GlossKey(text);
        senses.push_back(slotOf(key, HashIgnoringCase(key), sense++));
    });
}

std::string_view CedictIndex::SlotText(const Slot& slot) const {
    return std::string_view(text_.data() + slot.Offset, slot.Length);
}

std::string_view CedictIndex::LineText(std::uint32_t line) const {
    const std::uint32_t offset = lines_[line];
    std::size_t end = std::min(text_.find('\n', offset), text_.size());
    if (end > offset && text_[end - 1] == '\r')
        --end;
    return std::string_view(text_.data() + offset, end - offset);
}

std::vector<CedictLine> CedictIndex::LinesOf(std::vector<Slot> slots) const {
    std::sort(slots.begin(), slots.end(), [](const Slot& a, const Slot& b) {
        return a.Sense != b.Sense ? a.Sense < b.Sense : a.Line < b.Line;
    });
    std::vector<CedictLine> lines;
    std::vector<std::uint32_t> taken;
    for (const Slot& slot : slots) {
        if (std::find(taken.begin(), taken.end(), slot.Line) != taken.end())
            continue; // a line that gives the word twice
        taken.push_back(slot.Line);
        CedictLine line;
        ParseCedictLine(LineText(slot.Line), line);
        lines.push_back(line);
    }
    return lines;
}

std::vector<CedictIndex::Slot> CedictIndex::FindHeadword(std::string_view chinese) const {
    return headwords_.Find(Hash(chinese),
                           [&](const Slot& slot) { return SlotText(slot) == chinese; });
}

std::vector<CedictLine> CedictIndex::ByHeadword(std::string_view chinese) const {
    return LinesOf(FindHeadword(chinese));
}

std::size_t CedictIndex::LongestHeadwordAt(std::string_view text) const {
    std::vector<std::size_t> prefixLengths;
    for (std::size_t length = 0; length < text.size() && length < kLongestHeadwordBytes;) {
        length += CharacterLength(text.substr(length));
        prefixLengths.push_back(std::min(length, text.size()));
    }
    for (auto length = prefixLengths.rbegin(); length != prefixLengths.rend(); ++length) {
        if (!FindHeadword(text.substr(0, *length)).empty())
            return *length;
    }
    return 0;
}

std::vector<CedictLine> CedictIndex::ByGloss(std::string_view english) const {
    const std::string_view wanted = GlossKey(english);
    return LinesOf(senses_.Find(HashIgnoringCase(wanted), [&](const Slot& slot) {
        return EqualIgnoringCase(SlotText(slot), wanted);
    }));
}

std::size_t CedictIndex::MemoryBytes() const {
    return text_.capacity() + lines_.capacity() * sizeof(std::uint32_t) + headwords_.MemoryBytes() +
           senses_.MemoryBytes();
}

} // namespace quorvex::dictionaries
