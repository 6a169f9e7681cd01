#include "translate/Strings.h"

namespace quorvex {

std::string TStringList::Text() const {
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\n";
    return text;
}

} // namespace quorvex
