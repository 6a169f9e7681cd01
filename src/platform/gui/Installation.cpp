#include "platform/gui/Installation.h"

#include "platform/gui/WebView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quorvex::platform {
namespace {

QString ModuleBesideTheProgram() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(kWebViewModuleFile);
}

} // namespace

QString WebViewModulePath() {
    if (!RunsFromInstallation())
        return ModuleBesideTheProgram();
    // QUORVEX_MODULE_DIR_FROM_PROGRAM is the module folder relative to the program's folder.
    return QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath()).filePath(QUORVEX_MODULE_DIR_FROM_PROGRAM) +
        '/' + kWebViewModuleFile);
}

bool RunsFromInstallation() {
    return !QFileInfo::exists(ModuleBesideTheProgram());
}

} // namespace quorvex::platform
