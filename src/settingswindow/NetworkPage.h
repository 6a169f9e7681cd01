#pragma once

#include "settingswindow/SettingFields.h"

#include <QWidget>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace quorvex::settingswindow {

// "网络": the proxy of the web services, written as Network/Proxy: empty for the system's (the
// environment's http_proxy, https_proxy and no_proxy), "none" for none, else
// [user:password@]host:port with the login percent-encoded.
class TNetworkPage : public QWidget {
public:
    TNetworkPage(const TSettingWriter& write, QWidget* parent);

    QRadioButton* SystemProxy;
    QRadioButton* NoProxy;
    QRadioButton* ManualProxy;
    QLineEdit* Host;
    QSpinBox* Port;
    QLineEdit* User;
    QLineEdit* Password;

private:
    void ShowSetting();
    void EnableManualFields();
    void Save();

    TSettingWriter write_;
};

} // namespace quorvex::settingswindow
