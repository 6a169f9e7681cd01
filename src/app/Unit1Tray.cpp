// The main window's icon in the notification area, with the tray menu.
#include "app/Unit1.h"
#include "platform/gui/PopupMenu.h"
#include "tray/TrayIcon.h"

#include <QIcon>

namespace quorvex {

QIcon ProgramIcon() {
    return QIcon(":/quorvex.svg");
}

void TForm1::CreateTrayIcon() {
    setWindowIcon(ProgramIcon());
    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->SetHint(kApplicationTitle);
    TrayIcon1->SetIcon(ProgramIcon());
    TrayIcon1->SetIconIndex(0);
    TrayIcon1->PopupMenu = PopupMenu1;
    TrayIcon1->MinimizeToTray = true;
    TrayIcon1->SetCycleInterval(0);
    TrayIcon1->OnDblClick = [this](TTrayIcon&) { TrayIcon1DblClick(); };
    TrayIcon1->Loaded();
}

} // namespace quorvex
