#include "upgrader/replacer/ReplacerCommand.h"

#include "platform/Exception.h"

namespace quorvex::replacer {
namespace {

inline constexpr char kSetupMethodDigit = '1';
inline constexpr char kSeparator = '+';
// The form for a path the plain line cannot carry (one holding " +"): the path whole, in one
// argument of its own.
inline constexpr std::string_view kProgramOption = "--program=";
// The method digit and the blank that ends the rejoined line.
inline constexpr std::size_t kLineTail = 2;

// Every argument followed by one blank: restores paths that held single blanks.
std::string RejoinedLine(const std::vector<std::string>& arguments) {
    std::string Line;
    for (const std::string& argument : arguments)
        Line += argument + " ";
    return Line;
}

// The restart arguments from the text after the "+" (which ends in the digit and a blank).
std::string RestartArgsOf(const std::string& rest) {
    return rest.substr(0, rest.size() > kLineTail ? rest.size() - kLineTail : 0);
}

TReplacerCommand ParseProgramOption(const std::vector<std::string>& arguments) {
    TReplacerCommand command;
    command.ExePath = arguments.front().substr(kProgramOption.size());
    const std::string rest = RejoinedLine({arguments.begin() + 1, arguments.end()});
    if (command.ExePath.empty() || rest.empty() || rest.front() != kSeparator)
        throw Exception("no program path, or no \"+\" after it, in \"" + arguments.front() + " " +
                        rest + "\"");
    command.RestartArgs = RestartArgsOf(rest.substr(1));
    return command;
}

} // namespace

TReplacerCommand ParseReplacerCommand(const std::vector<std::string>& arguments) {
    const std::string Line = RejoinedLine(arguments);
    const bool setup =
        Line.size() >= kLineTail && Line[Line.size() - kLineTail] == kSetupMethodDigit;
    if (!arguments.empty() && arguments.front().starts_with(kProgramOption)) {
        TReplacerCommand command = ParseProgramOption(arguments);
        command.Setup = setup;
        return command;
    }
    TReplacerCommand command;
    command.Setup = setup;
    const std::size_t P = Line.find(kSeparator);
    if (P == std::string::npos)
        throw Exception("no \"+\" on the command line \"" + Line + "\"");
    if (P < 2 || Line[P - 1] != ' ')
        throw Exception("no program path and blank before the first \"+\" of \"" + Line + "\"");
    command.ExePath = Line.substr(0, P - 1);
    command.RestartArgs = RestartArgsOf(Line.substr(P + 1));
    return command;
}

std::vector<std::string> ReplacerArguments(const std::string& exePath,
                                           const std::string& restartArgs) {
    if (restartArgs.empty())
        throw Exception("the replacer needs the restart arguments and the method digit");
    const std::string rest = std::string(1, kSeparator) + restartArgs;
    const char digit = restartArgs.back();
    const auto readsBackAs = [&](const std::vector<std::string>& arguments) {
        try {
            const TReplacerCommand command = ParseReplacerCommand(arguments);
            return command.ExePath == exePath && command.RestartArgs + digit == restartArgs &&
                   command.Setup == (digit == kSetupMethodDigit);
        } catch (const Exception&) {
            return false; // this form cannot carry the path; the next one is tried
        }
    };
    for (auto arguments : {std::vector<std::string>{exePath, rest},
                           std::vector<std::string>{std::string(kProgramOption) + exePath, rest}})
        if (readsBackAs(arguments))
            return arguments;
    throw Exception("the replacer cannot be told the program's path " + exePath +
                    " together with \"" + restartArgs + "\"");
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
