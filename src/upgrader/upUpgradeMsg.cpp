#include "upgrader/upUpgradeMsg.h"

#include "upgrader/upDialogLook.h"
#include "upgrader/upMessages.h"
#include "upgrader/upModal.h"

#include <QLabel>
#include <QPushButton>

namespace quorvex {
namespace {

inline constexpr int kClientWidth = 318;
inline constexpr int kClientHeight = 119;
inline constexpr int kLabelRightMargin = 11;
inline constexpr int kPanelHeight = 45;
inline constexpr QRect kYesBtn{78, 13, 75, 23};
inline constexpr QRect kLaterBtn{167, 13, 75, 23};

TupUpgradeMessageForm* theForm = nullptr;

// The program's name in the question; a title never set by the program reads "<AppTitle>".
std::string ProgramNameForQuestion() {
    const std::string title = ApplicationTitle();
    const std::string& marker = LoadUpgraderString(kUnsetAppTitleMarkerId);
    if (!marker.empty() && title.find(marker) != std::string::npos)
        return LoadUpgraderString(kAppTitlePlaceholderId);
    return title;
}

} // namespace

TupUpgradeMessageForm::TupUpgradeMessageForm() {
    SetUpDialogFrame(*this, kClientWidth, kClientHeight);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    Label1 = CreateMessageLabel(this);
    Icon = CreateMessageIcon(this);
    BottomPanel = new QWidget(this);
    YesBtn = CreateButton(BottomPanel, kYesBtn);
    YesBtn->setDefault(true);
    LaterBtn = CreateButton(BottomPanel, kLaterBtn);
    connect(YesBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(LaterBtn, &QPushButton::clicked, this, &QDialog::reject);
    theForm = this;
}

TupUpgradeMessageForm::~TupUpgradeMessageForm() {
    if (theForm == this)
        theForm = nullptr;
}

void TupUpgradeMessageForm::Prepare(const std::string& UpgradeMsg) {
    const std::string framed = UpgradeMsg.empty() ? UpgradeMsg : "\n" + UpgradeMsg + "\n";
    FitToMessage(
        *this, *Label1,
        ToQString(UpgraderFormat(upmsg::kNewerVersion, {ProgramNameForQuestion(), framed})),
        kLabelRightMargin, *BottomPanel, kPanelHeight);
    setWindowTitle(ToQString(UpgraderText(upmsg::kCaption)));
    YesBtn->setText(ToQString(UpgraderText(upmsg::kYes)));
    LaterBtn->setText(ToQString(UpgraderText(upmsg::kLater)));
}

void TupUpgradeMessageForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Above every other window again each time it shows.
    raise();
}

TupUpgradeMessageForm* UpgradeMessageForm() {
    return theForm;
}

bool AskUpgrade(const std::string& UpgradeMsg) {
    TupUpgradeMessageForm form;
    form.Prepare(UpgradeMsg);
    CentreOnScreen(form);
    return UpgraderModals().ExecDialog(form) == QDialog::Accepted;
}

} // namespace quorvex
