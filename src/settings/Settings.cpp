#include "settings/Settings.h"

#include "platform/Environment.h"
#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <sstream>

namespace quorvex::settings {
namespace {

QString Key(const std::string& key) {
    return QString::fromStdString(key);
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) {
        const auto first = item.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        items.push_back(item.substr(first, item.find_last_not_of(" \t") - first + 1));
    }
    return items;
}

std::string JoinList(const QStringList& items) {
    return items.join(',').toStdString();
}

// QSettings reads "a, b" as a list; the settings file holds both forms.
std::string FileValue(const std::string& key) {
    const QSettings file(QString::fromStdString(FilePath()), QSettings::IniFormat);
    const QVariant value = file.value(Key(key));
    if (value.typeId() == QMetaType::QStringList)
        return JoinList(value.toStringList());
    return value.toString().toStdString();
}

void CreatePrivately(const QString& path) {
    if (QFileInfo::exists(path))
        return;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw Exception("cannot create the folder of the settings file " + path.toStdString());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw Exception("cannot create the settings file " + path.toStdString() + ": " +
                        file.errorString().toStdString());
}

} // namespace

std::string FilePath() {
    return platform::ConfigHome() + "/Quorvex/Quorvex.conf";
}

std::string Value(const std::string& key, const char* environmentOverride,
                  const std::string& fallback) {
    if (environmentOverride != nullptr) {
        if (std::string value = platform::EnvironmentOr(environmentOverride); !value.empty())
            return value;
    }
    const std::string value = FileValue(key);
    return value.empty() ? fallback : value;
}

std::vector<std::string> ListValue(const std::string& key, const char* environmentOverride,
                                   const std::vector<std::string>& fallback) {
    const std::string text = Value(key, environmentOverride);
    return text.empty() ? fallback : SplitList(text);
}

void Write(const std::string& key, const std::string& value) {
    const QString path = QString::fromStdString(FilePath());
    CreatePrivately(path);
    QSettings file(path, QSettings::IniFormat);
    file.setValue(Key(key), QString::fromStdString(value));
    file.sync();
    if (file.status() != QSettings::NoError)
        throw Exception("cannot write the settings file " + path.toStdString());
}

} // namespace quorvex::settings
