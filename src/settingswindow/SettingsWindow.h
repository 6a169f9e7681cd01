#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QTabWidget;

namespace quorvex::settingswindow {

class TDictionariesPage;
class TGeneralPage;
class TNetworkPage;
class TServicesPage;

// "设置": one window with the pages 翻译服务, 词典, 网络 and 常规. Every change is written to the
// settings file at once (the services and dictionaries read it again for each request); the
// line at the bottom says where it went, or why it could not be saved, and when values of a
// hand-edited file were ignored, that nothing else was lost.
class TSettingsWindow : public QWidget {
public:
    explicit TSettingsWindow(QWidget* parent = nullptr);

    QTabWidget* Pages;
    TServicesPage* Services;
    TDictionariesPage* Dictionaries;
    TNetworkPage* Network;
    TGeneralPage* General;
    QLabel* Status;

private:
    void Write(const std::string& key, const std::string& value);
    void ShowFailure(const std::string& failure);
    void ShowSavedStatus();
};

} // namespace quorvex::settingswindow
