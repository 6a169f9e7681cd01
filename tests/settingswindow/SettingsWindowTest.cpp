// The settings window on a real X server (Xvfb, with a window manager): each page writes its
// keys and shows them again in a new window, a hand-edited file with bad values is survived,
// the autostart entry comes and goes, and every page is photographed in Chinese.
#include "settingswindow/SettingsWindow.h"

#include "settings/Settings.h"
#include "settingswindow/Autostart.h"
#include "settingswindow/DictionariesPage.h"
#include "settingswindow/GeneralPage.h"
#include "settingswindow/NetworkPage.h"
#include "settingswindow/OrderedChoiceList.h"
#include "settingswindow/ServicesPage.h"
#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/ScopedEnvironment.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace quorvex::settingswindow {
namespace {

using test_support::RunCommand;
using test_support::ScopedEnvironment;

int RowOf(const QListWidget& list, const QString& caption) {
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->text().startsWith(caption))
            return row;
    return -1;
}

class SettingsWindowTest : public testing::Test {
protected:
    std::unique_ptr<TSettingsWindow> OpenWindow() {
        auto window = std::make_unique<TSettingsWindow>();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static std::string Setting(const std::string& key) { return settings::Value(key, nullptr); }

    QTemporaryDir home_;
    ScopedEnvironment config_{"XDG_CONFIG_HOME", home_.path().toStdString()};
    ScopedEnvironment services_{"QUORVEX_SERVICES", std::nullopt};
    ScopedEnvironment dictionaries_{"QUORVEX_DICTIONARIES", std::nullopt};
};

// First, while no test has reported a bad value yet.
TEST_F(SettingsWindowTest, EveryPageIsPhotographed) {
    const auto window = OpenWindow();
    window->move(40, 40);
    const std::filesystem::path folder = QUORVEX_ARTIFACT_DIR;
    std::filesystem::create_directories(folder);
    const char* names[] = {"services", "dictionaries", "network", "general"};
    for (int page = 0; page < window->Pages->count(); ++page) {
        window->Pages->setCurrentIndex(page);
        QTest::qWait(300);
        const std::string file = (folder / ("settings-" + std::string(names[page]) + ".png"));
        RunCommand("import -window root -crop 700x540+0+0 " + file);
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
    }
}

TEST_F(SettingsWindowTest, EveryTextFieldWritesItsKeyAndShowsItAgain) {
    const std::vector<std::string> keys{"Google/Url",
                                        "LibreTranslate/Url",
                                        "LibreTranslate/Key",
                                        "Baidu/Url",
                                        "Baidu/AppId",
                                        "Baidu/Key",
                                        "Dictionary/DictServer",
                                        "Dictionary/DictDatabase",
                                        "Dictionary/Cedict"};
    {
        const auto window = OpenWindow();
        for (const std::string& key : keys) {
            auto* field = window->findChild<QLineEdit*>(QString::fromStdString(key));
            ASSERT_NE(field, nullptr) << key;
            QTest::keyClicks(field, QString::fromStdString("v:" + key));
            EXPECT_EQ(Setting(key), "v:" + key);
        }
    }
    const auto reopened = OpenWindow();
    for (const std::string& key : keys)
        EXPECT_EQ(
            reopened->findChild<QLineEdit*>(QString::fromStdString(key))->text().toStdString(),
            "v:" + key);
}

TEST_F(SettingsWindowTest, TheOrderListsMoveAndSwitchTheirItems) {
    {
        const auto window = OpenWindow();
        TOrderedChoiceList& services = *window->Services->Order;
        services.List->setCurrentRow(RowOf(*services.List, QString::fromUtf8("百度翻译")));
        services.UpButton->click();
        services.List->item(RowOf(*services.List, "OpenCC"))->setCheckState(Qt::Unchecked);
        EXPECT_EQ(Setting("Services/Order"), "google,baidu,libretranslate,apertium");

        TOrderedChoiceList& sources = *window->Dictionaries->Order;
        sources.List->setCurrentRow(RowOf(*sources.List, "DICT"));
        sources.UpButton->click();
        EXPECT_EQ(Setting("Dictionary/Order"), "cedict,freedict,dict,google");
        // The last source switched on stays on.
        for (int row = 0; row < sources.List->count(); ++row)
            sources.List->item(row)->setCheckState(Qt::Unchecked);
        EXPECT_EQ(Setting("Dictionary/Order"), "google");
    }
    const auto reopened = OpenWindow();
    EXPECT_EQ(reopened->Services->Order->Chosen(),
              (std::vector<std::string>{"google", "baidu", "libretranslate", "apertium"}));
    EXPECT_EQ(reopened->Services->Order->List->item(4)->checkState(), Qt::Unchecked);
    EXPECT_EQ(reopened->Dictionaries->Order->Chosen(), std::vector<std::string>{"google"});
}

TEST_F(SettingsWindowTest, TheProxyChoicesWriteNetworkProxy) {
    const auto window = OpenWindow();
    TNetworkPage& network = *window->Network;
    network.NoProxy->click();
    EXPECT_EQ(Setting("Network/Proxy"), "none");
    network.ManualProxy->click();
    QTest::keyClicks(network.Host, "proxy.test");
    network.Port->setValue(3128);
    QTest::keyClicks(network.User, "a b");
    QTest::keyClicks(network.Password, "p@ss");
    EXPECT_EQ(Setting("Network/Proxy"), "a%20b:p%40ss@proxy.test:3128");
    {
        const auto reopened = OpenWindow();
        EXPECT_TRUE(reopened->Network->ManualProxy->isChecked());
        EXPECT_EQ(reopened->Network->User->text(), "a b");
        EXPECT_EQ(reopened->Network->Password->text(), "p@ss");
        EXPECT_EQ(reopened->Network->Port->value(), 3128);
    }
    network.SystemProxy->click();
    EXPECT_EQ(Setting("Network/Proxy"), "");
}

TEST_F(SettingsWindowTest, StartingWithTheSessionWritesAndRemovesTheAutostartEntry) {
    const auto window = OpenWindow();
    ASSERT_FALSE(StartsWithSession());
    window->General->StartWithSession->click();
    ASSERT_TRUE(StartsWithSession());
    EXPECT_NE(test_support::ReadWholeFile(AutostartEntryPath())
                  .find("\nExec=" + QCoreApplication::applicationFilePath().toStdString() + "\n"),
              std::string::npos);
    window->General->StartWithSession->click();
    EXPECT_FALSE(StartsWithSession());
    EXPECT_TRUE(window->General->RememberWindow->isChecked());
    window->General->RememberWindow->click();
    EXPECT_EQ(Setting("Window/Remember"), "false");
}

TEST_F(SettingsWindowTest, AHandEditedFileWithBadValuesIsSurvived) {
    std::filesystem::create_directories(std::filesystem::path(settings::FilePath()).parent_path());
    test_support::WriteWholeFile(settings::FilePath(), "[Services]\nOrder=teleport, google\n"
                                                       "[Network]\nProxy=::not a proxy::\n"
                                                       "[Window]\nRemember=perhaps\n");
    testing::internal::CaptureStderr();
    const auto window = OpenWindow();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 3) << errors;
    EXPECT_NE(errors.find("teleport"), std::string::npos) << errors;
    EXPECT_EQ(window->Services->Order->Chosen(), std::vector<std::string>{"google"});
    EXPECT_TRUE(window->Network->SystemProxy->isChecked());
    EXPECT_TRUE(window->General->RememberWindow->isChecked());
    EXPECT_TRUE(window->Status->text().contains(QString::fromUtf8("没有丢失")));
}

TEST_F(SettingsWindowTest, TheTrialButtonShowsATranslationOrWhyThereIsNone) {
    const ScopedEnvironment noServer("QUORVEX_LIBRETRANSLATE_URL", std::nullopt);
    const auto window = OpenWindow();
    const std::vector<std::pair<std::string, QString>> cases{
        {"opencc", QString::fromUtf8("→ “Hello”")},
        {"libretranslate", QString::fromUtf8("未能翻译：LibreTranslate 还没有设置好")},
    };
    for (const auto& [name, shown] : cases) {
        window->findChild<QPushButton*>(QString::fromStdString("trial:" + name))->click();
        const QString outcome =
            window->findChild<QLabel*>(QString::fromStdString("outcome:" + name))->text();
        EXPECT_TRUE(outcome.contains(shown)) << outcome.toStdString();
    }
}

TEST_F(SettingsWindowTest, QtsOwnTextsAreChinese) {
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    EXPECT_TRUE(menu->actions().front()->text().startsWith(QString::fromUtf8("撤消")))
        << menu->actions().front()->text().toStdString();
}

} // namespace
} // namespace quorvex::settingswindow
