#include "app/CommandLineInfo.h"

#include "quorvex/Version.h"

namespace quorvex {
namespace {

const std::string kHelp = R"(Usage: quorvex [--version | --help | ARGUMENT...]

Quorvex, a floating translation window with a Simplified Chinese interface. It translates
what you type, paste or copy anywhere, and shows dictionary entries for short texts.

  --version   print the version and end
  --help      print this text and end

One Quorvex runs per user: a start without arguments ends at once while another one runs; a
start with any other argument always runs ("/afterupgrade" marks a restart after an update).
Settings: $XDG_CONFIG_HOME/Quorvex/Quorvex.conf, edited in the window's "设置…".
See quorvex(1).
)";

} // namespace

std::optional<std::string> CommandLineInfo(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1)
        return std::nullopt;
    if (arguments.front() == "--version")
        return std::string("Quorvex ") + kProgramVersion + "\n";
    if (arguments.front() == "--help")
        return kHelp;
    return std::nullopt;
}

} // namespace quorvex
