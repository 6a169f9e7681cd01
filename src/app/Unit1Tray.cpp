// The main window's icon in the notification area, with the tray menu, and the ways a hidden
// window comes back.
#include "app/Unit1.h"
#include "platform/gui/PopupMenu.h"
#include "platform/gui/ShowRequests.h"
#include "tray/TrayIcon.h"

#include <QIcon>
#include <QShortcut>

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
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &TForm1::HideToTray);
}

void TForm1::HideToTray() {
    // Without a notification area nothing could bring the window back, so Esc does nothing.
    if (TrayIcon1->TrayAvailable())
        TrayIcon1->HideMainWindow();
}

void TForm1::ListenForLaterStarts() {
    auto* requests = new platform::TShowRequests(kInstanceName, this);
    requests->OnShowRequest = [this] { ShowOnRequest(); };
}

void TForm1::ShowOnRequest() {
    // A window slid up out of sight comes down whole, as a pointer on it would bring it.
    if (Top() < 0)
        SetTop(0);
    TrayIcon1->ShowMainWindow();
}

} // namespace quorvex
