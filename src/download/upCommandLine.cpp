#include "download/upText.h"
#include "download/upUtils.h"

#include <array>

namespace quorvex {
namespace {

struct SplitPoint {
    const char* separator;
    bool keepSeparator; // whether the separator starts the parameters
};

// Tried in this order; the first only when nothing was split yet is " /", and every later one
// only while the parameters are still empty.
inline constexpr std::array<SplitPoint, 5> kSplitPoints = {
    {{" -", true}, {" /", true}, {" \\", true}, {",", false}, {" %", true}}};

// A command with quotes: "program" parameters, or parameters that start with a quoted piece.
void SplitQuoted(std::string& command, std::string& parameters, std::size_t firstQuote,
                 std::size_t secondQuote) {
    command.erase(secondQuote, 1);
    if (firstQuote == 0) {
        parameters = text::Trim(command.substr(secondQuote));
        for (int quote = 0; quote < 2; ++quote)
            if (const auto at = parameters.find('"'); at != std::string::npos)
                parameters.erase(at, 1);
        command.resize(secondQuote);
        return;
    }
    parameters = command.substr(firstQuote);
    command.resize(firstQuote - 1);
}

// rundll32-style commands: the program is the launcher, everything after its name the parameters.
void SplitLauncher(const std::string& whole, std::string& command, std::string& parameters) {
    const auto slash = whole.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : whole.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? whole : whole.substr(slash + 1);
    const auto space = name.find(' ');
    command = folder + name.substr(0, space);
    parameters = space == std::string::npos ? "" : name.substr(space + 1);
}

void SplitUnquoted(std::string& command, std::string& parameters) {
    const std::string whole = command;
    const bool wholeHasExtension = !text::FileExtension(whole).empty();
    for (const auto& point : kSplitPoints) {
        if (!parameters.empty())
            break;
        const auto at = whole.find(point.separator);
        if (at == std::string::npos)
            continue;
        const std::string program = whole.substr(0, at);
        if (wholeHasExtension && text::FileExtension(program).empty())
            continue;
        command = program;
        const std::size_t from = point.keepSeparator ? at : at + 1;
        parameters = whole.substr(from);
    }
    const bool isLauncher = text::UpperCase(text::FileExtension(command)) == ".DLL" &&
                            text::Contains(text::UpperCase(command), "RUNDLL");
    if (isLauncher)
        SplitLauncher(whole, command, parameters);
}

} // namespace

void SplitCommandLine(std::string& Command, std::string& Parameters) {
    Parameters.clear();
    Command = text::Trim(Command);
    if (Command.empty())
        return;
    const auto firstQuote = Command.find('"');
    if (firstQuote != std::string::npos)
        Command.erase(firstQuote, 1);
    const auto secondQuote =
        firstQuote == std::string::npos ? std::string::npos : Command.find('"', firstQuote);
    if (secondQuote != std::string::npos)
        SplitQuoted(Command, Parameters, firstQuote, secondQuote);
    else
        SplitUnquoted(Command, Parameters);
    Command = text::Trim(Command);
    Parameters = text::Trim(Parameters);
}

} // namespace quorvex
