#pragma once

#include "platform/Exception.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quorvex {

inline constexpr int kExitTranslated = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitBadUsage = 2;

// The command line could not be understood.
class EUsage : public Exception {
public:
    explicit EUsage(const std::string& problem)
        : Exception(problem) {}
};

struct TTranslateArguments {
    bool Help = false;
    std::string Pair;                    // -p: a caption or a service code; empty when not given
    std::vector<std::string> Text;       // the words of the text; none: read standard input
    std::optional<std::string> DictWord; // --dict: look this word up instead of translating
    std::string Service;                 // --service: the one service or source to ask; empty: all
    bool ListServices = false;           // --services
};

TTranslateArguments ParseTranslateArguments(const std::vector<std::string>& arguments);

// The caption for `pair`: a caption of the table, or the caption of a service code; anything
// else is returned as it is.
std::string CaptionForPair(const std::string& pair);

// The caption the window would choose for `text`: Chinese to English when any byte is 127 or
// more, English to Chinese otherwise.
std::string DefaultCaptionFor(const std::string& text);

// quorvex-translate: translates as the window does and prints the result box (and, when it
// ends with "Error", each service tried and its reason on `err`); returns the exit status.
int RunTranslateCommand(const std::vector<std::string>& arguments, std::istream& in,
                        std::ostream& out, std::ostream& err);

} // namespace quorvex
