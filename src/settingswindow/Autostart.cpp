#include "settingswindow/Autostart.h"

#include "platform/Environment.h"
#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvex::settingswindow {
namespace {

// The Exec key's quoting: a path with anything but plain characters is quoted, with ", `, $
// and \ escaped (and every \ doubled again as the desktop entry's string escape); % is doubled.
std::string ExecValue(const std::string& program) {
    if (program.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                  "0123456789/._-+") == std::string::npos)
        return program;
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$')
            quoted += "\\\\";
        else if (c == '\\')
            quoted += "\\\\\\";
        else if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + '"';
}

std::string EntryText(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quorvex\n"
           "Name[zh_CN]=Quorvex 翻译\n"
           "Comment=Translate text you type or copy\n"
           "Comment[zh_CN]=翻译输入或复制的文字\n"
           "Exec=" +
           ExecValue(program) +
           "\n"
           "Icon=net.quorvex.Quorvex\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

} // namespace

std::string AutostartEntryPath() {
    return platform::ConfigHome() + "/autostart/net.quorvex.Quorvex.desktop";
}

bool StartsWithSession() {
    return QFileInfo::exists(QString::fromStdString(AutostartEntryPath()));
}

void SetStartsWithSession(bool starts, const std::string& program) {
    const QString path = QString::fromStdString(AutostartEntryPath());
    QFile entry(path);
    if (!starts) {
        if (entry.exists() && !entry.remove())
            throw Exception("cannot remove " + path.toStdString() + ": " +
                            entry.errorString().toStdString());
        return;
    }
    const std::string text = EntryText(program);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !entry.open(QIODevice::WriteOnly) ||
        entry.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()))
        throw Exception("cannot write " + path.toStdString() + ": " +
                        entry.errorString().toStdString());
}

} // namespace quorvex::settingswindow
