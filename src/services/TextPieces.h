#pragma once

#include <string>
#include <vector>

namespace quorvex::services {

// The UTF-8 `text` cut into pieces of at most `maxCharacters` characters that join back to it:
// each cut comes after the last sentence end that fits (a Latin one with the blank after it), else
// after the last blank, else where the limit falls (between two characters, never inside one). No
// pieces for an empty text.
std::vector<std::string> SplitText(const std::string& text, size_t maxCharacters);

} // namespace quorvex::services
