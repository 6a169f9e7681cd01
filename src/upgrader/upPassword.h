#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quorvex {

class TupDialogHost;

// Asks for the user name and password of a protected download.
class TupPasswordForm : public QDialog {
    Q_OBJECT
public:
    explicit TupPasswordForm(TupDialogHost& Host);
    ~TupPasswordForm() override;

    // Fills the texts and the known user name and fits the height to the wrapped request.
    void Prepare();

    void OKBtnClick();

    QLabel* Label1;
    QLabel* Image1;
    QWidget* BottomPanel;
    QLabel* UsernameLab;
    QLineEdit* UsernameEdit;
    QLabel* PasswordLab;
    QLineEdit* PasswordEdit;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    TupDialogHost& host_;
};

// The dialog while it is shown; null otherwise.
TupPasswordForm* PasswordForm();

// True when the user confirmed with OK; the controller's login then holds what was entered.
bool AskPassword(TupDialogHost& Host);

} // namespace quorvex
