#include "settings/Settings.h"

#include "support/ScopedEnvironment.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quorvex::settings {
namespace {

using test_support::ScopedEnvironment;

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir home_;
    ScopedEnvironment config_{"XDG_CONFIG_HOME", home_.path().toStdString()};
    ScopedEnvironment override_{"QUORVEX_TEST_SETTING", std::nullopt};
};

TEST_F(SettingsTest, WritesAPrivateFileAndReadsItBack) {
    EXPECT_EQ(Value("Google/Url", "QUORVEX_TEST_SETTING", "fallback"), "fallback");
    Write("Google/Url", "https://example.test");
    EXPECT_EQ(Value("Google/Url", "QUORVEX_TEST_SETTING"), "https://example.test");
    struct stat status {};
    ASSERT_EQ(stat(FilePath().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(SettingsTest, TheEnvironmentOverridesTheFileUnlessEmpty) {
    Write("Google/Url", "from-file");
    {
        ScopedEnvironment set{"QUORVEX_TEST_SETTING", "from-environment"};
        EXPECT_EQ(Value("Google/Url", "QUORVEX_TEST_SETTING"), "from-environment");
    }
    ScopedEnvironment empty{"QUORVEX_TEST_SETTING", ""};
    EXPECT_EQ(Value("Google/Url", "QUORVEX_TEST_SETTING"), "from-file");
}

TEST_F(SettingsTest, ListsDropBlanksAndEmptyItems) {
    const std::vector<std::string> fallback{"x"};
    EXPECT_EQ(ListValue("Services/Order", "QUORVEX_TEST_SETTING", fallback), fallback);
    Write("Services/Order", " opencc , ,google,");
    EXPECT_EQ(ListValue("Services/Order", "QUORVEX_TEST_SETTING", fallback),
              (std::vector<std::string>{"opencc", "google"}));
}

} // namespace
} // namespace quorvex::settings
