#pragma once

#include <QString>
#include <functional>
#include <string>

class QLineEdit;
class QWidget;

namespace quorvex::settingswindow {

// Writes one setting at once (the settings window tells whether it was saved).
using TSettingWriter = std::function<void(const std::string& key, const std::string& value)>;

// A text field showing the file's value of `key` and writing every edit to it. It is named
// after the key, so that tests find it. A secret (a service key) shows as dots but while edited.
QLineEdit* SettingLineEdit(const std::string& key, const QString& placeholder, bool secret,
                           const TSettingWriter& write, QWidget* parent);

} // namespace quorvex::settingswindow
