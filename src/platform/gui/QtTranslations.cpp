#include "platform/gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <iostream>

namespace quorvex::platform {
namespace {

inline constexpr const char* kQtCatalogues[] = {"qtbase", "qtwebengine"};

} // namespace

void UseChineseQtTexts(QCoreApplication& application) {
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    QLocale::setDefault(chinese);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* catalogue : kQtCatalogues) {
        auto* translator = new QTranslator(&application);
        if (translator->load(chinese, catalogue, "_", folder)) {
            QCoreApplication::installTranslator(translator);
            continue;
        }
        delete translator;
        std::cerr << "Quorvex: Qt's Chinese texts (" << catalogue << "_zh_CN.qm in "
                  << folder.toStdString()
                  << ", package qt6-translations-l10n) are missing; Qt's own menus stay English\n";
        return;
    }
}

} // namespace quorvex::platform
