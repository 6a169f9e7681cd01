#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::dictionaries {

// One line of CC-CEDICT: "Traditional Simplified [pin1 yin1] /sense/sense/".
struct CedictLine {
    std::string_view Traditional;
    std::string_view Simplified;
    std::string_view Pinyin;
    std::vector<std::string_view> Senses;
};

// CC-CEDICT held in memory with sorted indexes over its headwords (both forms) and its
// senses. The views handed out point into the index's own copy of the text.
class CedictIndex {
public:
    // Indexes the whole text of cedict_ts.u8; "#" lines and lines not in the format are left out.
    explicit CedictIndex(std::string text);

    // The lines whose simplified or traditional headword is `chinese`, in file order.
    std::vector<CedictLine> ByHeadword(std::string_view chinese) const;
    // The byte length of the longest headword that `text` starts with; 0 when none does.
    std::size_t LongestHeadwordAt(std::string_view text) const;
    // The lines with a sense that is `english` (ignoring ASCII case and a leading "to "), those
    // that give it as an earlier sense first.
    std::vector<CedictLine> ByGloss(std::string_view english) const;

    std::size_t LineCount() const { return lines_.size(); }
    // The bytes the text and the indexes take.
    std::size_t MemoryBytes() const;

private:
    // A piece of the text that leads to a line, in an open-addressing hash table: its slots are
    // 16 bytes, so that the tables stay small, and the stored hash spares most text compares.
    struct Slot {
        std::uint32_t Hash;
        std::uint32_t Offset;
        std::uint32_t Line;
        std::uint16_t Length; // 0: an empty slot
        std::uint16_t Sense;
    };
    class Table {
    public:
        void Fill(const std::vector<Slot>& slots);
        // The slots whose hash is `hash` and whose text `same` accepts.
        template <typename Same> std::vector<Slot> Find(std::uint32_t hash, const Same& same) const;
        std::size_t MemoryBytes() const { return slots_.capacity() * sizeof(Slot); }

    private:
        std::vector<Slot> slots_;
    };

    void IndexLine(std::uint32_t offset, std::uint32_t end, std::vector<Slot>& headwords,
                   std::vector<Slot>& senses);
    std::string_view SlotText(const Slot& slot) const;
    std::string_view LineText(std::uint32_t line) const;
    std::vector<Slot> FindHeadword(std::string_view chinese) const;
    std::vector<CedictLine> LinesOf(std::vector<Slot> slots) const;

    std::string text_;
    std::vector<std::uint32_t> lines_; // where each indexed line starts
    Table headwords_;
    Table senses_;
};

// Parses one line; false when it is not in the format.
bool ParseCedictLine(std::string_view text, CedictLine& line);

} // namespace quorvex::dictionaries
