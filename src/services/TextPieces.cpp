#include "services/TextPieces.h"

#include <array>
#include <string_view>

namespace quorvex::services {
namespace {

// A Latin full stop ends a sentence only before a blank ("3.14" and "e.g" stay whole); the
// blank stays with the sentence, so the next piece starts with its first word.
constexpr std::array<std::string_view, 7> kSentenceEnds{". ", "! ", "? ", "\n", "。", "！", "？"};
constexpr std::array<std::string_view, 4> kBlanks{" ", "\t", "\n", "\u3000"};

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The byte length of the first `count` characters of `text` (all of it when shorter).
size_t BytesOfCharacters(std::string_view text, size_t count) {
    size_t end = 0;
    for (size_t characters = 0; end < text.size() && characters < count; ++characters)
        for (++end; end < text.size() && IsContinuationByte(text[end]); ++end) {
        }
    return end;
}

// The end of the last mark of `marks` within `window`, or 0 when none is there.
template <size_t N>
size_t AfterLast(std::string_view window, const std::array<std::string_view, N>& marks) {
    size_t best = 0;
    for (std::string_view mark : marks)
        if (const size_t at = window.rfind(mark); at != std::string_view::npos)
            best = std::max(best, at + mark.size());
    return best;
}

} // namespace

std::vector<std::string> SplitText(const std::string& text, size_t maxCharacters) {
    std::vector<std::string> pieces;
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t limit = BytesOfCharacters(rest, maxCharacters);
        size_t cut = limit;
        if (limit < rest.size()) {
            const std::string_view window = rest.substr(0, limit);
            cut = AfterLast(window, kSentenceEnds);
            if (cut == 0)
                cut = AfterLast(window, kBlanks);
            if (cut == 0)
                cut = limit;
        }
        pieces.emplace_back(rest.substr(0, cut));
        rest.remove_prefix(cut);
    }
    return pieces;
}

} // namespace quorvex::services
