#include "download/upUtils.h"

#include <gtest/gtest.h>
#include <utility>

using namespace quorvex;

namespace {

std::pair<std::string, std::string> Split(std::string command) {
    std::string parameters = "stale";
    SplitCommandLine(command, parameters);
    return {command, parameters};
}

} // namespace

TEST(SplitCommandLine, QuotedProgramAndParameters) {
    EXPECT_EQ(
        Split("\"C:\\Program Files\\App\\app.exe\" -nohome \"%1\""),
        std::make_pair(std::string("C:\\Program Files\\App\\app.exe"), std::string("-nohome %1")));
    EXPECT_EQ(Split("  \"/opt/my app/run\"  "),
              std::make_pair(std::string("/opt/my app/run"), std::string("")));
}

TEST(SplitCommandLine, QuotedParametersAfterAnUnquotedProgram) {
    EXPECT_EQ(Split("/usr/bin/viewer \"%1\""),
              std::make_pair(std::string("/usr/bin/viewer"), std::string("%1")));
}

TEST(SplitCommandLine, UnquotedSeparatorsInTurn) {
    EXPECT_EQ(Split("/usr/bin/firefox %u"),
              std::make_pair(std::string("/usr/bin/firefox"), std::string("%u")));
    EXPECT_EQ(Split("C:\\app.exe -x -y"),
              std::make_pair(std::string("C:\\app.exe"), std::string("-x -y")));
    EXPECT_EQ(Split("C:\\app.exe /x"),
              std::make_pair(std::string("C:\\app.exe"), std::string("/x")));
    EXPECT_EQ(Split("prog"), std::make_pair(std::string("prog"), std::string("")));
    EXPECT_EQ(Split("   "), std::make_pair(std::string(""), std::string("")));
}

TEST(SplitCommandLine, SplitIsRefusedWhenItWouldCutTheExtensionOff) {
    // " -" would leave "C:\my" without the extension the whole command has
    EXPECT_EQ(Split("C:\\my -dir\\tool.exe %1"),
              std::make_pair(std::string("C:\\my -dir\\tool.exe"), std::string("%1")));
}

TEST(SplitCommandLine, LauncherOfALibraryKeepsTheLibraryInTheParameters) {
    EXPECT_EQ(Split("C:\\Windows\\rundll32.exe url.dll,FileProtocolHandler %1"),
              std::make_pair(std::string("C:\\Windows\\rundll32.exe"),
                             std::string("url.dll,FileProtocolHandler %1")));
}
