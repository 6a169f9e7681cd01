#include "tray/TrayTip.h"

#include "platform/TextCodec.h"

#include <string_view>

namespace quorvex {

namespace {

// The length of the UTF-8 character that starts with `lead`.
std::size_t CharacterLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

std::string TrayTip(const std::string& hint, bool showHint) {
    if (!showHint)
        return {};
    std::size_t end = 0;
    std::size_t ansiLength = 0;
    while (end < hint.size()) {
        const std::size_t length =
            std::min(CharacterLength(static_cast<unsigned char>(hint[end])), hint.size() - end);
        ansiLength += platform::Utf8ToGbk(std::string_view(hint).substr(end, length)).size();
        if (ansiLength > kTrayTipLimit)
            break;
        end += length;
    }
    return hint.substr(0, end);
}

} // namespace quorvex
