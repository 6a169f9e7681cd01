// The main window's upgrade component, with the settings of the window's layout.
#include "app/Unit1.h"
#include "platform/gui/Installation.h"
#include "quorvex/Version.h"
#include "upgrader/upUpdateKey.h"
#include "upgrader/upUpdaterWindows.h"

#include <QCoreApplication>
#include <QStringList>

namespace quorvex {

namespace {

inline constexpr const char* kInfoFilePath = "/Quorvex/update.inf";
inline constexpr const char* kVersionDate = "12/08/2008";

} // namespace

void TForm1::CreateUpdater() {
    Updater1 = std::make_unique<TupUpdater>();
    Updater1->InfoFileURL = "http://" + SiteHost + kInfoFilePath;
    Updater1->VersionControl = TupVersionControl::byNumber;
    Updater1->VersionDate = kVersionDate;
    Updater1->SetVersionDateAutoSet(true);
    Updater1->VersionNumber = kProgramVersion;
    Updater1->ShowMessages = {TupShowMessage::mConnLost, TupShowMessage::mLostFile};
    Updater1->Wizard.Enabled = false;
    Updater1->Dialogs = UpgraderWindows();
    Updater1->UpdateKey = BuiltInUpdateKey();
    // Without the maker's site there is nothing to check; an installation is updated by the
    // package manager that made it, never by the program (which may run as root there).
    Updater1->SetAutoCheck(!SiteHost.empty() && !platform::RunsFromInstallation());
    Updater1->Loaded(QCoreApplication::arguments().value(1).toStdString());
}

} // namespace quorvex
