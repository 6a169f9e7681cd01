#include "upgrader/replacer/ReplacerCommand.h"

#include "platform/Exception.h"

#include <gtest/gtest.h>

using namespace quorvex;
using namespace quorvex::replacer;

namespace {

struct CommandCase {
    std::vector<std::string> arguments;
    std::string exePath;
    std::string restartArgs;
    bool setup;
};

class ReplacerCommandLines : public testing::TestWithParam<CommandCase> {};

TEST_P(ReplacerCommandLines, AreReadAsTheUpgradeWroteThem) {
    const TReplacerCommand command = ParseReplacerCommand(GetParam().arguments);
    EXPECT_EQ(command.ExePath, GetParam().exePath);
    EXPECT_EQ(command.RestartArgs, GetParam().restartArgs);
    EXPECT_EQ(command.Setup, GetParam().setup);
}

INSTANTIATE_TEST_SUITE_P(
    Upgrades, ReplacerCommandLines,
    testing::Values(
        CommandCase{{"/opt/q/prog", "+/afterupgrade0"}, "/opt/q/prog", "/afterupgrade", false},
        CommandCase{
            {"/opt/my", "app/prog", "+/afterupgrade1"}, "/opt/my app/prog", "/afterupgrade", true},
        CommandCase{
            {"/opt/my app/prog +/afterupgrade0"}, "/opt/my app/prog", "/afterupgrade", false},
        CommandCase{{"/opt/a  b/prog", "+/afterupgrade1"}, "/opt/a  b/prog", "/afterupgrade", true},
        // An empty restart text is stored as one blank.
        CommandCase{{"/p/prog", "+", "0"}, "/p/prog", " ", false},
        CommandCase{{"/p/prog", "+"}, "/p/prog", "", false},
        CommandCase{{"/p/prog", "+/x2"}, "/p/prog", "/x", false},
        CommandCase{{"/p/prog", "+/x", "--y1"}, "/p/prog", "/x --y", true},
        CommandCase{{"/p/prog", "+/1+1"}, "/p/prog", "/1+", true},
        CommandCase{{"--program=/opt/Quorvex +beta/quorvex", "+/afterupgrade0"},
                    "/opt/Quorvex +beta/quorvex",
                    "/afterupgrade",
                    false},
        CommandCase{{"--program=/c++ tools/q", "+/x", "--y1"}, "/c++ tools/q", "/x --y", true}));

TEST(ReplacerCommandLines, TheProgramWritesThePlainLineWhereItCarriesThePathElseThePathWhole) {
    const struct {
        std::string exePath;
        bool plain;
    } cases[] = {{"/opt/q/prog", true},
                 {"/opt/my  app/prog", true},
                 {"/home/u/c++ tools/quorvex", false},
                 {"/opt/Quorvex +beta/quorvex", false},
                 {"/a/ +/q", false}};
    for (const auto& each : cases) {
        const auto arguments = ReplacerArguments(each.exePath, "/afterupgrade1");
        EXPECT_EQ(arguments.front() == each.exePath, each.plain) << each.exePath;
        const TReplacerCommand command = ParseReplacerCommand(arguments);
        EXPECT_EQ(command.ExePath, each.exePath);
        EXPECT_EQ(command.RestartArgs, "/afterupgrade");
        EXPECT_TRUE(command.Setup);
    }
}

TEST(ReplacerCommandLines, WithoutProgramPathBlankAndPlusAreRefused) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"/p/prog"}, std::vector<std::string>{"+/afterupgrade0"},
          std::vector<std::string>{" +/afterupgrade0"},
          std::vector<std::string>{"/opt/c++/prog", "+/afterupgrade0"},
          std::vector<std::string>{""}})
        EXPECT_THROW(ParseReplacerCommand(arguments), Exception) << arguments[0];
}

TEST(ReplacerCommandLines, PathsSplitIntoFolderAndName) {
    EXPECT_EQ(FolderOf("/a b/prog"), "/a b/");
    EXPECT_EQ(NameOf("/a b/prog"), "prog");
    EXPECT_EQ(FolderOf("prog"), "");
    EXPECT_EQ(NameOf("prog"), "prog");
}

TEST(ReplacerCommandLines, RestartTextBecomesItsWords) {
    EXPECT_EQ(ArgumentWords("/afterupgrade"), std::vector<std::string>{"/afterupgrade"});
    EXPECT_EQ(ArgumentWords(" "), std::vector<std::string>{});
    EXPECT_EQ(ArgumentWords(" a  b "), (std::vector<std::string>{"a", "b"}));
}

} // namespace
