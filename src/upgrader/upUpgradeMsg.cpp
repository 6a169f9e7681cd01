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
inline constexpr int kLabelLeft = 45;
inline constexpr int kLabelTop = 5;
inline constexpr int kLabelRightMargin = 11;
inline constexpr int kIconLeft = 7;
inline constexpr int kIconTop = 5;
inline constexpr int kIconSize = 32;
inline constexpr int kPanelHeight = 45;
inline constexpr int kButtonTop = 13;
inline constexpr int kYesLeft = 78;
inline constexpr int kLaterLeft = 167;
inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 23;

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
    Label1 = CreateLabel(this, kLabelLeft, kLabelTop);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Icon = new QLabel(this);
    Icon->setGeometry(kIconLeft, kIconTop, kIconSize, kIconSize);
    Icon->setPixmap(UpgraderIcon());
    BottomPanel = new QWidget(this);
    YesBtn = CreateButton(BottomPanel, kYesLeft, kButtonTop, kButtonWidth, kButtonHeight);
    YesBtn->setDefault(true);
    LaterBtn = CreateButton(BottomPanel, kLaterLeft, kButtonTop, kButtonWidth, kButtonHeight);
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
    const int labelWidth = kClientWidth - kLabelLeft - kLabelRightMargin;
    Label1->setText(
        ToQString(UpgraderFormat(upmsg::kNewerVersion, {ProgramNameForQuestion(), framed})));
    const int labelHeight = Label1->heightForWidth(labelWidth);
    Label1->resize(labelWidth, labelHeight);
    setWindowTitle(ToQString(UpgraderText(upmsg::kCaption)));
    YesBtn->setText(ToQString(UpgraderText(upmsg::kYes)));
    LaterBtn->setText(ToQString(UpgraderText(upmsg::kLater)));
    const int clientHeight = kLabelTop + labelHeight + kPanelHeight;
    setFixedSize(kClientWidth, clientHeight);
    BottomPanel->setGeometry(0, clientHeight - kPanelHeight, kClientWidth, kPanelHeight);
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
