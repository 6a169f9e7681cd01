#include "platform/Shell.h"

#include "platform/Environment.h"

#include <QMimeDatabase>
#include <QProcess>
#include <fstream>
#include <ifaddrs.h>
#include <net/if.h>
#include <sstream>
#include <sys/socket.h>
#include <vector>

namespace quorvex::platform {
namespace {

inline constexpr const char* kOpener = "xdg-open";

std::vector<std::string> SplitPaths(const std::string& list) {
    std::vector<std::string> paths;
    std::stringstream stream(list);
    for (std::string path; std::getline(stream, path, ':');)
        if (!path.empty())
            paths.push_back(path);
    return paths;
}

std::string Home() {
    return EnvironmentOr("HOME", "/root");
}

// Folders holding applications/, the user's first.
std::vector<std::string> DataFolders() {
    std::vector<std::string> folders{EnvironmentOr("XDG_DATA_HOME", Home() + "/.local/share")};
    for (const auto& folder :
         SplitPaths(EnvironmentOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share")))
        folders.push_back(folder);
    return folders;
}

// mimeapps.list files in the order the XDG base-directory rules give.
std::vector<std::string> MimeAppsLists() {
    std::vector<std::string> lists{EnvironmentOr("XDG_CONFIG_HOME", Home() + "/.config") +
                                   "/mimeapps.list"};
    for (const auto& folder : SplitPaths(EnvironmentOr("XDG_CONFIG_DIRS", "/etc/xdg")))
        lists.push_back(folder + "/mimeapps.list");
    for (const auto& folder : DataFolders())
        lists.push_back(folder + "/applications/mimeapps.list");
    return lists;
}

// The value of key in [section] of an ini-style file; empty when absent.
std::string IniValue(const std::string& path, const std::string& section, const std::string& key) {
    std::ifstream file(path);
    std::string line;
    bool inSection = false;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + section + "]";
            continue;
        }
        if (inSection && line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    }
    return {};
}

std::string DefaultDesktopEntry(const std::string& mimeType) {
    for (const auto& list : MimeAppsLists()) {
        const std::string entries = IniValue(list, "Default Applications", mimeType);
        const std::string first = entries.substr(0, entries.find(';'));
        if (!first.empty())
            return first;
    }
    return {};
}

// An IP address; the link-layer entries every interface also lists do not make a machine online.
bool IsNetworkAddress(const sockaddr* address) {
    return address != nullptr && (address->sa_family == AF_INET || address->sa_family == AF_INET6);
}

} // namespace

std::string DefaultOpenCommand(const std::string& extension) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(
        QString::fromStdString("file" + extension), QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return {};
    return DefaultHandlerExec(type.name().toStdString());
}

std::string DefaultHandlerExec(const std::string& mimeType) {
    const std::string entry = DefaultDesktopEntry(mimeType);
    if (entry.empty())
        return {};
    for (const auto& folder : DataFolders()) {
        const std::string exec =
            IniValue(folder + "/applications/" + entry, "Desktop Entry", "Exec");
        if (!exec.empty())
            return exec;
    }
    return {};
}

bool StartProgram(const std::string& program, const std::string& argument) {
    return QProcess::startDetached(QString::fromStdString(program),
                                   {QString::fromStdString(argument)});
}

bool StartArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return false;
    QStringList rest;
    for (std::size_t i = 1; i < arguments.size(); ++i)
        rest << QString::fromStdString(arguments[i]);
    return QProcess::startDetached(QString::fromStdString(arguments.front()), rest);
}

bool OpenWithDesktop(const std::string& url) {
    return StartProgram(kOpener, url);
}

bool HasNonLoopbackAddress() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (const ifaddrs* entry = list; entry != nullptr && !found; entry = entry->ifa_next)
        found = IsNetworkAddress(entry->ifa_addr) && (entry->ifa_flags & IFF_UP) != 0 &&
                (entry->ifa_flags & IFF_LOOPBACK) == 0;
    freeifaddrs(list);
    return found;
}

} // namespace quorvex::platform
