#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// How a release is put in place; the ordinal travels as a digit to the replacer.
enum class TupUpgradeMethod { umSelfUpgrade, umUseExternalSetup, umRedirectToURL };

// The value after the marker "#" + Key + "=" (and "{" when Braced) of the upgrade information
// file, found without regard to ASCII case; empty when the marker is absent. A plain value
// ends before the first control character, a braced one before the first "}"; nothing is
// trimmed. Key is given in lower case.
std::string InfoValue(std::string_view Text, std::string_view Key, bool Braced);

// The files to download: "url", then "url0", then the numbered keys that continue the count
// of what is already listed, up to the first one that is empty or absent.
std::vector<std::string> InfoFileList(std::string_view Text);
// The keys of those files, in the same order ("url", "url0", "url3"...).
std::vector<std::string> InfoFileKeys(std::string_view Text);

// The method a "method" value names by its first character: "1" the external setup, "2" the
// redirection to the first URL, anything else (or nothing) the self-upgrade.
TupUpgradeMethod UpgradeMethodFromValue(std::string_view Value);
TupUpgradeMethod InfoUpgradeMethod(std::string_view Text);

// The digit 0, 1 or 2 the controller keeps and hands to the replacer.
int UpgradeMethodCode(TupUpgradeMethod Method);

// Describes what an upgrade information file holds: the files, the method and the message.
// Stored with the controller's settings; a check reads only the downloaded file.
class TupUpdateInfo {
public:
    std::vector<std::string> Files;
    TupUpgradeMethod UpgradeMethod = TupUpgradeMethod::umSelfUpgrade;
    std::string UpgradeMsg;

    bool operator==(const TupUpdateInfo&) const = default;
};

} // namespace quorvex
