#include "settingswindow/NetworkPage.h"

#include "platform/HttpsSession.h"
#include "settings/Settings.h"
#include "settingswindow/CheckedSettings.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvex::settingswindow {
namespace {

inline constexpr const char* kProxyKey = "Network/Proxy";
// Only lets QUrl parse and encode host, port and login; the setting holds what follows it.
inline constexpr const char* kParsingScheme = "http://";
inline constexpr int kDefaultProxyPort = 8080;
inline constexpr int kMaxPort = 65535;

} // namespace

TNetworkPage::TNetworkPage(const TSettingWriter& write, QWidget* parent)
    : QWidget(parent)
    , SystemProxy(new QRadioButton(QString::fromUtf8("使用系统的代理设置"), this))
    , NoProxy(new QRadioButton(QString::fromUtf8("不使用代理"), this))
    , ManualProxy(new QRadioButton(QString::fromUtf8("使用以下代理服务器"), this))
    , Host(new QLineEdit(this))
    , Port(new QSpinBox(this))
    , User(new QLineEdit(this))
    , Password(new QLineEdit(this))
    , write_(write) {
    auto* choice = new QButtonGroup(this);
    for (QRadioButton* button : {SystemProxy, NoProxy, ManualProxy})
        choice->addButton(button);
    Host->setPlaceholderText(QString::fromUtf8("主机名或地址"));
    Port->setRange(1, kMaxPort);
    Port->setValue(kDefaultProxyPort);
    User->setPlaceholderText(QString::fromUtf8("可不填"));
    Password->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8("主机"), Host);
    form->addRow(QString::fromUtf8("端口"), Port);
    form->addRow(QString::fromUtf8("用户名"), User);
    form->addRow(QString::fromUtf8("密码"), Password);
    auto* note =
        new QLabel(QString::fromUtf8("代理用于所有网络翻译服务和网络词典。系统的代理设置指环境变量 "
                                     "http_proxy、https_proxy 和 no_proxy。"),
                   this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SystemProxy);
    layout->addWidget(NoProxy);
    layout->addWidget(ManualProxy);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addStretch();
    ShowSetting();

    connect(choice, &QButtonGroup::buttonClicked, this, [this] { Save(); });
    for (QLineEdit* edit : {Host, User, Password})
        connect(edit, &QLineEdit::textEdited, this, [this] { Save(); });
    connect(Port, &QSpinBox::valueChanged, this, [this] { Save(); });
}

void TNetworkPage::ShowSetting() {
    const std::string value = settings::Value(kProxyKey, nullptr);
    const QUrl proxy(kParsingScheme + QString::fromStdString(value));
    if (value.empty()) {
        SystemProxy->setChecked(true);
    } else if (value == platform::kNoProxy) {
        NoProxy->setChecked(true);
    } else if (!proxy.isValid() || proxy.host().isEmpty() || proxy.port() < 1 ||
               !proxy.path().isEmpty()) {
        ReportIgnoredSetting(kProxyKey, value, "not host:port, none or empty");
        SystemProxy->setChecked(true);
    } else {
        ManualProxy->setChecked(true);
        Host->setText(proxy.host());
        Port->setValue(proxy.port());
        User->setText(proxy.userName());
        Password->setText(proxy.password());
    }
    EnableManualFields();
}

void TNetworkPage::EnableManualFields() {
    for (QWidget* field : std::initializer_list<QWidget*>{Host, Port, User, Password})
        field->setEnabled(ManualProxy->isChecked());
}

void TNetworkPage::Save() {
    EnableManualFields();
    if (SystemProxy->isChecked())
        return write_(kProxyKey, "");
    if (NoProxy->isChecked())
        return write_(kProxyKey, platform::kNoProxy);
    if (Host->text().trimmed().isEmpty())
        return;
    QUrl proxy(kParsingScheme);
    proxy.setHost(Host->text().trimmed());
    proxy.setPort(Port->value());
    proxy.setUserName(User->text());
    proxy.setPassword(Password->text());
    write_(kProxyKey,
           proxy.toString(QUrl::FullyEncoded).mid(QString(kParsingScheme).size()).toStdString());
}

} // namespace quorvex::settingswindow
