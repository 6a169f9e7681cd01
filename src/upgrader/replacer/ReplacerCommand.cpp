#include "upgrader/replacer/ReplacerCommand.h"

#include "platform/Exception.h"

namespace quorvex::replacer {
namespace {

inline constexpr char kSetupMethodDigit = '1';
inline constexpr char kSeparator = '+';
// The method digit and the blank that ends the rejoined line.
inline constexpr std::size_t kLineTail = 2;

// Every argument followed by one blank: restores paths that held single blanks.
std::string RejoinedLine(const std::vector<std::string>& arguments) {
    std::string Line;
    for (const std::string& argument : arguments)
        Line += argument + " ";
    return Line;
}

} // namespace

TReplacerCommand ParseReplacerCommand(const std::vector<std::string>& arguments) {
    const std::string Line = RejoinedLine(arguments);
    TReplacerCommand command;
    command.Setup = Line.size() >= kLineTail && Line[Line.size() - kLineTail] == kSetupMethodDigit;
    const std::size_t P = Line.find(kSeparator);
    if (P == std::string::npos)
        throw Exception("no \"+\" on the command line \"" + Line + "\"");
    if (P < 2 || Line[P - 1] != ' ')
        throw Exception("no program path and blank before the first \"+\" of \"" + Line + "\"");
    command.ExePath = Line.substr(0, P - 1);
    const std::string rest = Line.substr(P + 1);
    command.RestartArgs = rest.substr(0, rest.size() > kLineTail ? rest.size() - kLineTail : 0);
    return command;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::vector<std::string> ArgumentWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

} // namespace quorvex::replacer
