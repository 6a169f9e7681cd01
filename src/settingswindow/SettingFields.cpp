#include "settingswindow/SettingFields.h"

#include "settings/Settings.h"

#include <QLineEdit>

namespace quorvex::settingswindow {

QLineEdit* SettingLineEdit(const std::string& key, const QString& placeholder, bool secret,
                           const TSettingWriter& write, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromStdString(settings::Value(key, nullptr)), parent);
    edit->setObjectName(QString::fromStdString(key));
    edit->setPlaceholderText(placeholder);
    if (secret)
        edit->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [key, write](const QString& text) {
        write(key, text.trimmed().toStdString());
    });
    return edit;
}

} // namespace quorvex::settingswindow
