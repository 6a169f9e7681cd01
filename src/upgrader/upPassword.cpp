#include "upgrader/upPassword.h"

#include "download/upLogin.h"
#include "upgrader/upDialogHost.h"
#include "upgrader/upDialogLook.h"
#include "upgrader/upMessages.h"
#include "upgrader/upModal.h"

#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

namespace quorvex {
namespace {

inline constexpr int kClientWidth = 297;
inline constexpr int kClientHeight = 141;
inline constexpr int kLabelRightMargin = 18;
inline constexpr int kPanelHeight = 98;
inline constexpr QPoint kUsernameLab{45, 14};
inline constexpr QRect kUsernameEdit{122, 10, 157, 21};
inline constexpr QPoint kPasswordLab{45, 38};
inline constexpr QRect kPasswordEdit{122, 34, 157, 21};
inline constexpr QRect kOKBtn{114, 68, 75, 23};
inline constexpr QRect kCancelBtn{204, 68, 75, 23};

TupPasswordForm* theForm = nullptr;

// Hidden characters show as "*", whatever the style would draw.
class TAsteriskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QLineEdit* CreateEdit(QWidget* parent, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    return edit;
}

} // namespace

TupPasswordForm::TupPasswordForm(TupDialogHost& Host)
    : host_(Host) {
    SetUpDialogFrame(*this, kClientWidth, kClientHeight);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Label1 = CreateMessageLabel(this);
    Image1 = CreateMessageIcon(this);
    BottomPanel = new QWidget(this);
    UsernameLab = CreateLabel(BottomPanel, kUsernameLab.x(), kUsernameLab.y());
    UsernameEdit = CreateEdit(BottomPanel, kUsernameEdit);
    PasswordLab = CreateLabel(BottomPanel, kPasswordLab.x(), kPasswordLab.y());
    PasswordEdit = CreateEdit(BottomPanel, kPasswordEdit);
    PasswordEdit->setEchoMode(QLineEdit::Password);
    auto* asterisks = new TAsteriskStyle;
    asterisks->setParent(PasswordEdit);
    PasswordEdit->setStyle(asterisks);
    OKBtn = CreateButton(BottomPanel, kOKBtn);
    OKBtn->setDefault(true);
    CancelBtn = CreateButton(BottomPanel, kCancelBtn);
    connect(OKBtn, &QPushButton::clicked, this, &TupPasswordForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    theForm = this;
}

TupPasswordForm::~TupPasswordForm() {
    if (theForm == this)
        theForm = nullptr;
}

void TupPasswordForm::Prepare() {
    FitToMessage(*this, *Label1,
                 ToQString(UpgraderFormat(upmsg::kPasswordRequest, {host_.CurrentFileName()})),
                 kLabelRightMargin, *BottomPanel, kPanelHeight);
    setWindowTitle(ToQString(UpgraderText(upmsg::kPasswordCaption)));
    UsernameLab->setText(ToQString(UpgraderText(upmsg::kUserName)));
    UsernameLab->adjustSize();
    UsernameEdit->setText(ToQString(host_.Login().HTTPUsername));
    PasswordLab->setText(ToQString(UpgraderText(upmsg::kPassword)));
    PasswordLab->adjustSize();
    PasswordEdit->clear();
    OKBtn->setText(ToQString(UpgraderText(upmsg::kOK)));
    CancelBtn->setText(ToQString(UpgraderText(upmsg::kCancel)));
}

void TupPasswordForm::OKBtnClick() {
    TupLoginComponent& login = host_.Login();
    login.HTTPUsername = UsernameEdit->text().toStdString();
    login.HTTPPassword = PasswordEdit->text().toStdString();
    accept();
}

TupPasswordForm* PasswordForm() {
    return theForm;
}

bool AskPassword(TupDialogHost& Host) {
    TupPasswordForm form(Host);
    form.Prepare();
    CentreOnScreen(form);
    return UpgraderModals().ExecDialog(form) == QDialog::Accepted;
}

} // namespace quorvex
