#include "upgrader/upWizard.h"

#include "upgrader/upDialogHost.h"
#include "upgrader/upDialogLook.h"
#include "upgrader/upMessages.h"
#include "upgrader/upModal.h"
#include "upgrader/upWizardOptions.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace quorvex {
namespace {

inline constexpr int kClientWidth = 463;
inline constexpr int kClientHeight = 281;
inline constexpr QRect kPanel1{10, 10, 120, 220};
inline constexpr QPoint kWizardTitle{136, 10};
inline constexpr QRect kAfterNote{136, 44, 319, 0};
inline constexpr QRect kCurrentFileGroup{136, 34, 319, 125};
inline constexpr QRect kAllFilesGroup{136, 162, 319, 67};
inline constexpr QRect kBevel1{10, 238, 447, 2};
inline constexpr QPoint kAboutShadow{31, 234};
inline constexpr QPoint kAboutLabel{30, 233};
inline constexpr QRect kFinishBtn{296, 248, 75, 25};
inline constexpr QRect kCancelBtn{380, 248, 75, 25};

// Inside the group boxes.
inline constexpr int kLineLeft = 6;
inline constexpr int kLineHeight = 14;
inline constexpr int kDownloadingFromTop = 14;
inline constexpr QRect kFileURL{10, 28, 301, 13};
inline constexpr int kFileSizeTop = 44;
inline constexpr int kTransferRateTop = 60;
inline constexpr int kEstimatedTimeTop = 76;
inline constexpr QRect kProgressCurrentFile{6, 96, 307, 22};
inline constexpr int kAllDownloadingTop = 16;
inline constexpr QRect kProgressAllFiles{6, 38, 307, 22};

// Where the lines move when the address is hidden.
inline constexpr int kHiddenLineStep = 16;
inline constexpr int kHiddenProgressStep = 20;
inline constexpr int kHiddenGroupShift = 10;
inline constexpr int kHiddenGroupShrink = 30;

inline constexpr int kSecondsPerHour = 3600;
inline constexpr int kSecondsPerMinute = 60;
inline constexpr double kBytesPerKilobyte = 1024.0;

TupWizardForm* theWizard = nullptr;

// A one-line label reaching the right edge of its group box, so that longer values fit.
QLabel* CreateLine(QWidget* group, int top) {
    QLabel* line = CreateLabel(group, kLineLeft, top);
    line->resize(kCurrentFileGroup.width() - 2 * kLineLeft, kLineHeight);
    return line;
}

QProgressBar* CreateProgressBar(QWidget* group, QRect geometry) {
    auto* bar = new QProgressBar(group);
    bar->setGeometry(geometry);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QString Padded(const std::string& text) {
    return ToQString(" " + text + " ");
}

} // namespace

TupWizardForm::TupWizardForm(TupDialogHost& Host)
    : host_(Host) {
    SetUpDialogFrame(*this, kClientWidth, kClientHeight);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    CreateSidePanel();
    WizardTitle = CreateLabel(this, kWizardTitle.x(), kWizardTitle.y());
    WizardTitle->setFont(WizardTitleFont());
    AfterNote = CreateLabel(this, kAfterNote.left(), kAfterNote.top());
    AfterNote->setWordWrap(true);
    AfterNote->hide();
    CreateCurrentFileGroup();
    CreateAllFilesGroup();
    CreateFooter();
    theWizard = this;
}

TupWizardForm::~TupWizardForm() {
    if (theWizard == this)
        theWizard = nullptr;
}

void TupWizardForm::CreateSidePanel() {
    Panel1 = new QFrame(this);
    Panel1->setGeometry(kPanel1);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Image1 = new QLabel(Panel1);
    Image1->setGeometry(Panel1->contentsRect());
    Image1->setScaledContents(true);
    Image1->setPixmap(BuiltInSidePicture());
}

void TupWizardForm::CreateCurrentFileGroup() {
    LCurrentFile = new QGroupBox(this);
    LCurrentFile->setGeometry(kCurrentFileGroup);
    LDownloadingFileFrom = CreateLine(LCurrentFile, kDownloadingFromTop);
    FileURL = new QLineEdit(LCurrentFile);
    FileURL->setGeometry(kFileURL);
    FileURL->setFrame(false);
    FileURL->setReadOnly(true);
    FileURL->setFocusPolicy(Qt::ClickFocus);
    QPalette colours = FileURL->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    colours.setColor(QPalette::Text, colours.color(QPalette::Highlight));
    FileURL->setPalette(colours);
    LFileSize = CreateLine(LCurrentFile, kFileSizeTop);
    LTransferRate = CreateLine(LCurrentFile, kTransferRateTop);
    LEstimatedTime = CreateLine(LCurrentFile, kEstimatedTimeTop);
    ProgressCurrentFile = CreateProgressBar(LCurrentFile, kProgressCurrentFile);
}

void TupWizardForm::CreateAllFilesGroup() {
    LAllFiles = new QGroupBox(this);
    LAllFiles->setGeometry(kAllFilesGroup);
    AllDownloading = CreateLine(LAllFiles, kAllDownloadingTop);
    ProgressAllFiles = CreateProgressBar(LAllFiles, kProgressAllFiles);
}

void TupWizardForm::CreateFooter() {
    Bevel1 = new QFrame(this);
    Bevel1->setGeometry(kBevel1);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    // Engraved text on the separator: the light copy, one pixel lower and to the right, hides
    // the line behind the text (hence the blanks around it); the dark copy lies over it.
    AboutShadow = CreateLabel(this, kAboutShadow.x(), kAboutShadow.y());
    AboutShadow->setAutoFillBackground(true);
    QPalette light = AboutShadow->palette();
    light.setColor(QPalette::WindowText, light.color(QPalette::Light));
    AboutShadow->setPalette(light);
    AboutLabel = CreateLabel(this, kAboutLabel.x(), kAboutLabel.y());
    QPalette dark = AboutLabel->palette();
    dark.setColor(QPalette::WindowText, dark.color(QPalette::Dark));
    AboutLabel->setPalette(dark);
    FinishBtn = CreateButton(this, kFinishBtn);
    FinishBtn->setEnabled(false);
    CancelBtn = CreateButton(this, kCancelBtn);
    CancelBtn->setDefault(true);
    connect(FinishBtn, &QPushButton::clicked, this, &TupWizardForm::FinishBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TupWizardForm::CancelBtnClick);
}

void TupWizardForm::Prepare() {
    const QString about = Padded(LoadUpgraderString(kUpgraderNameId));
    AboutShadow->setText(about);
    AboutShadow->adjustSize();
    AboutLabel->setText(about);
    AboutLabel->adjustSize();
    AboutLabel->raise();
    ApplyOptions();
    ApplyTexts();
}

void TupWizardForm::ApplyOptions() {
    const TupWizardOptions& options = host_.WizardOptions();
    setWindowFlag(Qt::WindowStaysOnTopHint, options.StayOnTop);
    if (options.HideFileLocation && !FileURL->isHidden())
        HideFileLocation();
    // A picture that does not decode leaves the built-in one: the wizard still shows.
    if (QPixmap picture;
        !options.SidePicture.empty() &&
        picture.loadFromData(reinterpret_cast<const uchar*>(options.SidePicture.data()),
                             static_cast<uint>(options.SidePicture.size())))
        Image1->setPixmap(picture);
}

void TupWizardForm::ApplyTexts() {
    LEstimatedTime->setText(ToQString(UpgraderText(upmsg::kPreparing)));
    setWindowTitle(ToQString(UpgraderText(upmsg::kCaption)));
    WizardTitle->setText(ToQString(UpgraderText(upmsg::kDownloadingTitle)));
    WizardTitle->adjustSize();
    LCurrentFile->setTitle(Padded(UpgraderText(upmsg::kCurrentFile)));
    LAllFiles->setTitle(Padded(UpgraderText(upmsg::kAllFiles)));
    LDownloadingFileFrom->setText(ToQString(UpgraderText(upmsg::kDownloadingFrom)));
    FinishBtn->setText(ToQString(UpgraderText(upmsg::kNext)));
    CancelBtn->setText(ToQString(UpgraderText(upmsg::kCancel)));
}

void TupWizardForm::HideFileLocation() {
    FileURL->hide();
    LDownloadingFileFrom->hide();
    LFileSize->move(LFileSize->x(), LDownloadingFileFrom->y());
    LTransferRate->move(LTransferRate->x(), LFileSize->y() + kHiddenLineStep);
    LEstimatedTime->move(LEstimatedTime->x(), LTransferRate->y() + kHiddenLineStep);
    ProgressCurrentFile->move(ProgressCurrentFile->x(), LEstimatedTime->y() + kHiddenProgressStep);
    LCurrentFile->setGeometry(LCurrentFile->geometry()
                                  .translated(0, kHiddenGroupShift)
                                  .adjusted(0, 0, 0, -kHiddenGroupShrink));
}

void TupWizardForm::ShowFinished() {
    WizardTitle->setText(ToQString(UpgraderText(upmsg::kCompletedTitle)));
    WizardTitle->adjustSize();
    AfterNote->setText(ToQString(UpgraderFormat(upmsg::kCompletedNote, {ApplicationTitle()})));
    AfterNote->resize(kAfterNote.width(), AfterNote->heightForWidth(kAfterNote.width()));
    AfterNote->show();
    LCurrentFile->hide();
    LAllFiles->hide();
    CancelBtn->setEnabled(false);
    FinishBtn->setText(ToQString(UpgraderText(upmsg::kOK)));
    FinishBtn->setEnabled(true);
    FinishBtn->setDefault(true);
    FinishBtn->setFocus();
}

void TupWizardForm::ShowFileStart(const std::string& URL, int Index, int Count) {
    FileURL->setText(ToQString(URL));
    FileURL->setCursorPosition(0);
    AllDownloading->setText(ToQString(UpgraderFormat(upmsg::kDownloadingOf, {Index + 1, Count})));
}

void TupWizardForm::ShowFileSize(std::int64_t Bytes) {
    LFileSize->setText(ToQString(
        UpgraderFormat(upmsg::kFileSize, {static_cast<double>(Bytes) / kBytesPerKilobyte})));
}

void TupWizardForm::ShowProgress(int PercentsDone, int TotalPercentsDone, double TransferRate,
                                 int EstimatedTimeLeft) {
    ProgressCurrentFile->setValue(PercentsDone);
    ProgressAllFiles->setValue(TotalPercentsDone);
    LTransferRate->setText(ToQString(UpgraderFormat(upmsg::kTransferRate, {TransferRate})));
    LEstimatedTime->setText(ToQString(UpgraderFormat(
        upmsg::kTimeLeft, {EstimatedTimeLeft / kSecondsPerHour,
                           (EstimatedTimeLeft / kSecondsPerMinute) % kSecondsPerMinute,
                           EstimatedTimeLeft % kSecondsPerMinute})));
}

void TupWizardForm::FinishBtnClick() {
    closeAgreed_ = true;
    close();
}

void TupWizardForm::CancelBtnClick() {
    // Queued, as the close box's command is, so the question comes after this click is done.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TupWizardForm::reject() {
    if (CancelBtn->isEnabled())
        CancelBtnClick();
}

void TupWizardForm::closeEvent(QCloseEvent* event) {
    if (!closeAgreed_) {
        const int answer =
            ShowUpgraderMessage(UpgraderText(upmsg::kAbortQuestion), ApplicationTitle(),
                                mb::kYesNo | mb::kIconQuestion, this);
        if (answer != mb::kIdYes) {
            event->ignore();
            return;
        }
        event->accept();
        FormClose();
        host_.CancelUpgrade();
        return;
    }
    event->accept();
    FormClose();
}

void TupWizardForm::FormClose() {
    if (theWizard == this)
        theWizard = nullptr;
    host_.WizardClosed();
}

TupWizardForm* WizardForm() {
    return theWizard;
}

void ShowWizard(TupDialogHost& Host) {
    TupWizardForm* wizard = theWizard ? theWizard : new TupWizardForm(Host);
    wizard->Prepare();
    if (!wizard->isVisible())
        CentreOnScreen(*wizard);
    wizard->show();
}

void ShowWizardFinished() {
    if (theWizard)
        theWizard->ShowFinished();
}

void DestroyWizard() {
    TupWizardForm* wizard = theWizard;
    if (wizard == nullptr)
        return;
    theWizard = nullptr;
    wizard->hide();
    wizard->deleteLater();
}

} // namespace quorvex
