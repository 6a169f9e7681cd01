#pragma once

#include "settingswindow/SettingFields.h"

#include <QWidget>

class QCheckBox;
class QLabel;

namespace quorvex::settingswindow {

inline constexpr const char* kRememberWindowKey = "Window/Remember";

// "常规": starting with the session, remembering the window, and what the program is.
class TGeneralPage : public QWidget {
public:
    TGeneralPage(const TSettingWriter& write,
                 const std::function<void(const std::string& failure)>& reportFailure,
                 QWidget* parent);

    QCheckBox* StartWithSession;
    QCheckBox* RememberWindow;
    QLabel* About;
};

// The About text: the version, and who updates this copy.
QString AboutText(bool installed);

} // namespace quorvex::settingswindow
