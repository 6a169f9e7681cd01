// The settings window, opened from the menu.
#include "app/Unit1.h"
#include "settingswindow/SettingsWindow.h"

namespace quorvex {

void TForm1::SettingsItemClick() {
    // One settings window at a time; it is gone once closed, and opens afresh from the file.
    if (settingsWindow_.isNull()) {
        settingsWindow_ = new settingswindow::TSettingsWindow(this);
        settingsWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    settingsWindow_->show();
    settingsWindow_->raise();
    settingsWindow_->activateWindow();
}

} // namespace quorvex
