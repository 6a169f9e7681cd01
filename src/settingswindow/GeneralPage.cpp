#include "settingswindow/GeneralPage.h"

#include "platform/gui/Installation.h"
#include "quorvex/Version.h"
#include "settingswindow/Autostart.h"
#include "settingswindow/CheckedSettings.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <exception>

namespace quorvex::settingswindow {

QString AboutText(bool installed) {
    const QString updates =
        installed ? QString::fromUtf8("这份 Quorvex 由系统的软件包管理器（如 apt）安装和更新，"
                                      "程序自己从不下载更新。")
                  : QString::fromUtf8("这份 Quorvex 从它的构建文件夹运行：有维护者网站时，"
                                      "它会检查新版本并自行更新。");
    return QString::fromUtf8("<b>Quorvex %1</b><br>简体中文界面的浮动翻译窗口。<br>%2")
        .arg(kProgramVersion, updates);
}

TGeneralPage::TGeneralPage(const TSettingWriter& write,
                           const std::function<void(const std::string& failure)>& reportFailure,
                           QWidget* parent)
    : QWidget(parent)
    , StartWithSession(new QCheckBox(QString::fromUtf8("开机启动（登录桌面时启动 Quorvex）"), this))
    , RememberWindow(new QCheckBox(
          QString::fromUtf8("记住窗口：下次启动时恢复语言、置顶、透明度、网页面板高度和窗口位置"),
          this))
    , About(new QLabel(AboutText(platform::RunsFromInstallation()), this)) {
    StartWithSession->setChecked(StartsWithSession());
    RememberWindow->setChecked(BooleanSetting(kRememberWindowKey).value_or(true));
    About->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StartWithSession);
    layout->addWidget(RememberWindow);
    layout->addStretch();
    layout->addWidget(About);

    connect(StartWithSession, &QCheckBox::toggled, this, [this, reportFailure](bool starts) {
        try {
            SetStartsWithSession(starts, QCoreApplication::applicationFilePath().toStdString());
        } catch (const std::exception& failure) {
            reportFailure(failure.what());
            const QSignalBlocker quiet(StartWithSession);
            StartWithSession->setChecked(StartsWithSession());
        }
    });
    connect(RememberWindow, &QCheckBox::toggled, this,
            [write](bool remember) { write(kRememberWindowKey, remember ? "true" : "false"); });
}

} // namespace quorvex::settingswindow
