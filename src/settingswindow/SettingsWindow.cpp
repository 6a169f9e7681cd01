#include "settingswindow/SettingsWindow.h"

#include "settings/Settings.h"
#include "settingswindow/CheckedSettings.h"
#include "settingswindow/DictionariesPage.h"
#include "settingswindow/GeneralPage.h"
#include "settingswindow/NetworkPage.h"
#include "settingswindow/ServicesPage.h"

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>

namespace quorvex::settingswindow {
namespace {

inline constexpr QSize kWindowSize{600, 440};

} // namespace

TSettingsWindow::TSettingsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , Pages(new QTabWidget(this))
    , Status(new QLabel(this)) {
    setWindowTitle(QString::fromUtf8("Quorvex 设置"));
    resize(kWindowSize);
    const TSettingWriter write = [this](const std::string& key, const std::string& value) {
        Write(key, value);
    };
    Services = new TServicesPage(write, Pages);
    Dictionaries = new TDictionariesPage(write, Pages);
    Network = new TNetworkPage(write, Pages);
    General = new TGeneralPage(
        write, [this](const std::string& failure) { ShowFailure(failure); }, Pages);
    Pages->addTab(Services, QString::fromUtf8("翻译服务"));
    Pages->addTab(Dictionaries, QString::fromUtf8("词典"));
    Pages->addTab(Network, QString::fromUtf8("网络"));
    Pages->addTab(General, QString::fromUtf8("常规"));
    Status->setWordWrap(true);
    Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages);
    layout->addWidget(Status);
    ShowSavedStatus();
}

void TSettingsWindow::Write(const std::string& key, const std::string& value) {
    try {
        settings::Write(key, value);
        ShowSavedStatus();
    } catch (const std::exception& failure) {
        ShowFailure(failure.what());
    }
}

void TSettingsWindow::ShowFailure(const std::string& failure) {
    Status->setText(QString::fromUtf8("无法保存设置：") + QString::fromStdString(failure));
}

void TSettingsWindow::ShowSavedStatus() {
    QString text = QString::fromUtf8("更改立即生效，并保存在 %1")
                       .arg(QString::fromStdString(settings::FilePath()));
    if (const int ignored = IgnoredSettingCount(); ignored > 0)
        text += QString::fromUtf8("\n设置文件中有 %1 个无法识别的值，已忽略（详见标准错误输出）；"
                                  "其他设置都没有丢失。")
                    .arg(ignored);
    Status->setText(text);
}

} // namespace quorvex::settingswindow
