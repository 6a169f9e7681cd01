#include "upgrader/upUpdateInfo.h"

#include <algorithm>

namespace quorvex {
namespace {

inline constexpr char kFirstPrintable = 32;
inline constexpr char kBraceClose = '}';

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The file text with its lower-cased twin, folded once for all the keys looked up in it.
class TInfoText {
public:
    explicit TInfoText(std::string_view text)
        : text_(text)
        , folded_(text) {
        std::transform(folded_.begin(), folded_.end(), folded_.begin(), AsciiLower);
    }

    std::string Value(std::string_view key, bool braced) const {
        std::string marker = "#" + std::string(key) + "=";
        if (braced)
            marker += '{';
        const auto found = folded_.find(marker);
        if (found == std::string::npos)
            return {};
        const std::string_view rest = text_.substr(found + marker.size());
        const auto stop = braced
                              ? rest.find(kBraceClose)
                              : static_cast<std::size_t>(
                                    std::find_if(rest.begin(), rest.end(), IsStop) - rest.begin());
        return std::string(rest.substr(0, stop));
    }

private:
    static bool IsStop(char c) { return static_cast<unsigned char>(c) < kFirstPrintable; }

    std::string_view text_;
    std::string folded_;
};

} // namespace

std::string InfoValue(std::string_view Text, std::string_view Key, bool Braced) {
    return TInfoText(Text).Value(Key, Braced);
}

std::vector<std::string> InfoFileKeys(std::string_view Text) {
    const TInfoText info(Text);
    std::vector<std::string> keys;
    for (const char* key : {"url", "url0"})
        if (!info.Value(key, false).empty())
            keys.push_back(key);
    for (std::size_t number = keys.size() + 1;; ++number) {
        std::string key = "url" + std::to_string(number);
        if (info.Value(key, false).empty())
            break;
        keys.push_back(std::move(key));
    }
    return keys;
}

std::vector<std::string> InfoFileList(std::string_view Text) {
    const TInfoText info(Text);
    std::vector<std::string> files;
    for (const auto& key : InfoFileKeys(Text))
        files.push_back(info.Value(key, false));
    return files;
}

TupUpgradeMethod UpgradeMethodFromValue(std::string_view Value) {
    if (Value.starts_with('1'))
        return TupUpgradeMethod::umUseExternalSetup;
    if (Value.starts_with('2'))
        return TupUpgradeMethod::umRedirectToURL;
    return TupUpgradeMethod::umSelfUpgrade;
}

TupUpgradeMethod InfoUpgradeMethod(std::string_view Text) {
    return UpgradeMethodFromValue(InfoValue(Text, "method", false));
}

int UpgradeMethodCode(TupUpgradeMethod Method) {
    return static_cast<int>(Method);
}

} // namespace quorvex
