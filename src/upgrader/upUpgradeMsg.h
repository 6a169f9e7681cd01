#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class QWidget;

namespace quorvex {

// "A newer version was released; update now?" with Yes and Later.
class TupUpgradeMessageForm : public QDialog {
    Q_OBJECT
public:
    TupUpgradeMessageForm();
    ~TupUpgradeMessageForm() override;

    // Fills the texts for this upgrade message and fits the height to the wrapped text.
    void Prepare(const std::string& UpgradeMsg);

    QLabel* Label1;
    QLabel* Icon;
    QWidget* BottomPanel;
    QPushButton* YesBtn;
    QPushButton* LaterBtn;

protected:
    void showEvent(QShowEvent* event) override;
};

// The dialog while it is shown; null otherwise.
TupUpgradeMessageForm* UpgradeMessageForm();

// True when the user chose Yes; closing the dialog any other way is not Yes.
bool AskUpgrade(const std::string& UpgradeMsg);

} // namespace quorvex
