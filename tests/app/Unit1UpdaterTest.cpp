#include "app/FakeServices.h"
#include "app/Unit1.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

TEST(Form1Updater, CarriesTheLayoutsSettings) {
    test_support::TFakeServices services;
    TForm1 form(services, true);
    TupUpdater& updater = *form.Updater1;
    EXPECT_EQ(updater.InfoFileURL, "http://" + form.SiteHost + "/Quorvex/update.inf");
    EXPECT_EQ(updater.AutoCheck(), !form.SiteHost.empty());
    EXPECT_EQ(updater.AutoCheckDelay, 10000);
    EXPECT_EQ(updater.VersionControl, TupVersionControl::byNumber);
    EXPECT_EQ(updater.VersionNumber, "1.3.3.9");
    EXPECT_EQ(updater.VersionDate, "12/08/2008");
    EXPECT_TRUE(updater.VersionDateAutoSet());
    EXPECT_EQ(updater.ShowMessages,
              (TupShowMessages{TupShowMessage::mConnLost, TupShowMessage::mLostFile}));
    EXPECT_FALSE(updater.Wizard.Enabled);
    EXPECT_EQ(updater.RestartParams(), "/afterupgrade");
    EXPECT_FALSE(updater.OnBeginUpgrade || updater.OnAfterRestart || updater.OnCloseProgram);
    ASSERT_TRUE(updater.Dialogs);
}

} // namespace
} // namespace quorvex
