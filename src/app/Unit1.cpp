#include "app/Unit1.h"

#include "app/MemoLines.h"
#include "platform/InstanceLock.h"
#include "platform/TextCodec.h"
#include "platform/gui/Application.h"
#include "platform/gui/ClipboardWatch.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/PopupMenu.h"
#include "platform/gui/WebBrowser.h"
#include "platform/gui/X11Window.h"
#include "translate/LanguagePairs.h"
#include "translate/RequestLimit.h"
#include "translate/ServiceHosts.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <QWindow>

namespace quorvex {

namespace {

inline constexpr const char* kCaption = "Quorvex  V1.3.3.9   quorvex.net  ";
inline constexpr int kWindowFontHeight = 11;
inline constexpr int kMemoFontHeight = 13;
inline constexpr int kArrowButtonFontHeight = 8;
inline constexpr int kSizeButtonFontHeight = 19;
inline constexpr int kClientWidth = 480;
inline constexpr int kCollapsedClientHeight = 295;
inline constexpr int kWindowTop = 10;
inline constexpr int kInitialAlphaBlendValue = 250;
inline constexpr int kOpaqueAlphaBlendValue = 255;
inline constexpr int kTrackBarMin = 100;
inline constexpr int kTrackBarMax = 255;

inline constexpr int kTimer1Interval = 2000;
inline constexpr int kTimer1Tag = -5;
inline constexpr int kTimer2Interval = 3000;
inline constexpr int kMouseOutInterval = 100;
inline constexpr int kInputingInterval = 300;
inline constexpr int kInputingIntervalAfterDeactivate = 500;
inline constexpr int kInputingLastTick = 10;

// Byte counts in the ANSI code page.
inline constexpr std::size_t kMinimumSourceLength = 1;
inline constexpr std::size_t kDictionaryLengthLimit = 30;
inline constexpr std::size_t kClipboardTranslateLimit = 150;

inline constexpr int kPairEnglishToChinese = 0;
inline constexpr int kPairChineseToEnglish = 1;

QGroupBox* CreateGroupBox(QWidget* parent, const char* title, QRect geometry) {
    auto* box = new QGroupBox(QString::fromUtf8(title), parent);
    box->setGeometry(geometry);
    return box;
}

QPlainTextEdit* CreateMemo(QWidget* parent, QRect geometry) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setGeometry(geometry);
    memo->setFont(platform::WindowFont(kMemoFontHeight));
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The boxes want no tabs: Tab moves the focus on.
    memo->setTabChangesFocus(true);
    memo->viewport()->setMouseTracking(true);
    return memo;
}

QToolButton* CreateFlatButton(QWidget* parent, const char* caption, QRect geometry, int fontHeight,
                              const char* hint = "") {
    auto* button = new QToolButton(parent);
    button->setText(QString::fromUtf8(caption));
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setFont(platform::WindowFont(fontHeight, true));
    button->setToolTip(QString::fromUtf8(hint));
    // Flat buttons are for the mouse only and never take the focus.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QLabel* CreateLinkLabel(QWidget* parent, const char* caption, QRect geometry, const QString& hint) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(geometry);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(hint);
    // The collapsed window's edge and the web panel both begin on the label's last row, where
    // the font puts its underline and descenders: the text stands on the row above instead,
    // giving up the font's empty top row.
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    label->setContentsMargins(0, 0, 0, geometry.bottom() + 1 - kCollapsedClientHeight);
    return label;
}

QString LinkHint(const char* text, const std::string& host) {
    return QString::fromUtf8(text) + ' ' + QString::fromStdString(host);
}

// The box keeps bare LF breaks; the services get the CR LF breaks of the Windows box, which
// also count two bytes against the thresholds.
QString WithCrLfBreaks(QString text) {
    return text.replace('\n', "\r\n");
}

// A text in the box's own form, so that a copied CR LF text the box already holds is no change.
QString WithLfBreaks(QString text) {
    return text.replace("\r\n", "\n").replace('\r', '\n');
}

} // namespace

bool HasNonAsciiChar(const std::string& text) {
    for (unsigned char byte : text)
        if (byte >= 127)
            return true;
    return false;
}

std::size_t AnsiLength(const std::string& text) {
    return platform::Utf8ToGbk(text).size();
}

int CentredLeft(int desktopWidth, int outerWidth) {
    return (desktopWidth - outerWidth) / 2;
}

QPoint TopCentre(const QRect& workArea, int outerWidth) {
    return {workArea.left() + CentredLeft(workArea.width(), outerWidth),
            workArea.top() + kWindowTop};
}

TForm1::TForm1(TTranslationServices& services, bool startedWithArguments)
    : OnMessageBox([this](const std::string& text) { platform::ShowPlainMessage(text, this); })
    , SiteHost(ServiceHosts().Site)
    , services_(services) {
    CreateWindowFrame();
    CreateSettingsGroup();
    CreateTextGroups();
    CreateBottomRow();
    CreateWebPanel();
    CreateTimers();
    CreatePopupMenu();
    CreateTrayIcon();
    WireEvents();
    WireWindowBehaviours();
    CreateUpdater();
    WireLinks();
    FormCreate(startedWithArguments);
}

TForm1::~TForm1() = default;

void TForm1::CreateWindowFrame() {
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setWindowOpacity(double(kInitialAlphaBlendValue) / kOpaqueAlphaBlendValue);
    setFont(platform::WindowFont(kWindowFontHeight));
    SetClientHeight(kCollapsedClientHeight);
}

void TForm1::CreateSettingsGroup() {
    GroupBox1 = CreateGroupBox(this, "设置", {0, 0, 481, 49});
    Label1 = new QLabel("FROM", GroupBox1);
    Label1->setGeometry(12, 20, 31, 13);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setGeometry(60, 18, 207, 21);
    for (const std::string& caption : ComboBoxCaptions())
        ComboBox1->addItem(QString::fromStdString(caption));
    ComboBox1->setCurrentIndex(kPairEnglishToChinese);
    Button1 = new QPushButton(QString::fromUtf8("翻译/translate"), GroupBox1);
    Button1->setGeometry(279, 16, 100, 25);
    CheckBox1 = new QCheckBox(QString::fromUtf8("置顶"), GroupBox1);
    CheckBox1->setGeometry(392, 20, 55, 16);
    CheckBox1->setChecked(true);
    TrackBar1 = new QSlider(Qt::Vertical, GroupBox1);
    TrackBar1->setGeometry(448, 0, 20, 49);
    TrackBar1->setRange(kTrackBarMin, kTrackBarMax);
    TrackBar1->setValue(kTrackBarMin);
    // The minimum stands at the top, as on the original track bar.
    TrackBar1->setInvertedAppearance(true);
}

void TForm1::CreateTextGroups() {
    GroupBox2 = CreateGroupBox(this, "原文", {0, 56, 481, 109});
    Memo1 = CreateMemo(GroupBox2, {4, 15, 469, 88});
    Memo1->viewport()->setAcceptDrops(true);
    GroupBox3 = CreateGroupBox(this, "译文", {0, 169, 481, 111});
    Memo2 = CreateMemo(GroupBox3, {5, 15, 468, 88});
    Memo2->setAccessibleName(QString::fromUtf8("译文"));
}

void TForm1::CreateBottomRow() {
    SpeedButtonUP = CreateFlatButton(this, "∧", {24, 280, 23, 15}, kArrowButtonFontHeight, "收起");
    SpeedButtonDown =
        CreateFlatButton(this, "∨", {56, 280, 23, 15}, kArrowButtonFontHeight, "展开");
    const TServiceHosts& hosts = ServiceHosts();
    const QString googleHint = LinkHint("打开Google官方翻译网站", hosts.Translate);
    Label2 = CreateLinkLabel(this, "  Google 翻译在线  ", {94, 283, 115, 13}, googleHint);
    Label4 = CreateLinkLabel(this, "  百度词典在线  ", {210, 283, 110, 13},
                             LinkHint("打开百度字典官方翻译网站", hosts.Dict));
    Label3 = CreateLinkLabel(this, "使用说明", {329, 283, 65, 13}, googleHint);
    SpeedButton1 = CreateFlatButton(this, "+", {400, 280, 23, 15}, kSizeButtonFontHeight);
    SpeedButton2 = CreateFlatButton(this, "-", {432, 280, 23, 15}, kSizeButtonFontHeight);
}

void TForm1::CreateWebPanel() {
    Panel1 = new QFrame(this);
    Panel1->setGeometry(5, 295, 471, 169);
    WebBrowser1 = new platform::TWebBrowser(Panel1);
    WebBrowser1->Widget().setGeometry(-2, -2, 475, 169);
}

void TForm1::CreateTimers() {
    const auto createTimer = [this](int interval, bool enabled) {
        auto* timer = new TTimer(this);
        timer->setInterval(interval);
        if (enabled)
            timer->start();
        return timer;
    };
    Timer1 = createTimer(kTimer1Interval, true);
    Timer1->Tag = kTimer1Tag;
    Timer2 = createTimer(kTimer2Interval, true);
    tmrMouseOut = createTimer(kMouseOutInterval, true);
    TmrInputing = createTimer(kInputingInterval, false);
    ClipboardWatch = new platform::TClipboardWatch(this);
}

void TForm1::CreatePopupMenu() {
    PopupMenu1 = new platform::TPopupMenu(this);
    N2 = PopupMenu1->addAction(QString::fromUtf8("显示/隐藏"));
    N3 = PopupMenu1->addAction(QString::fromUtf8("检查新版本"));
    N4 = PopupMenu1->addSeparator();
    N1 = PopupMenu1->addAction(QString::fromUtf8("退出(Exit)"));
    // The tray icon shows this menu once it exists; the window's context menu shows it too.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(mapToGlobal(pos)); });
}

void TForm1::WireEvents() {
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm1::Memo1Change);
    connect(TmrInputing, &QTimer::timeout, this, &TForm1::TmrInputingTimer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(SpeedButtonUP, &QToolButton::clicked, this, &TForm1::SpeedButtonUPClick);
    connect(SpeedButtonDown, &QToolButton::clicked, this, &TForm1::SpeedButtonDownClick);
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
    ClipboardWatch->OnChange = [this](platform::TClipboardWatch&) { WMDrawClipboard(); };
    Memo1->installEventFilter(this);
    Memo1->viewport()->installEventFilter(this);
    Memo2->viewport()->installEventFilter(this);
}

void TForm1::FormCreate(bool startedWithArguments) {
    instanceLock_ = std::make_unique<platform::TInstanceLock>(kInstanceName);
    if (instanceLock_->AlreadyExisted() && !startedWithArguments) {
        secondInstance_ = true;
        return;
    }
    PlaceWindow();
    SpeedButtonDownClick();
}

void TForm1::PlaceWindow() {
    // On the screen the person works on, not across the seam of two: the one under the
    // pointer, else the primary one; below a panel at its top.
    const QScreen* screen = QGuiApplication::screenAt(platform::CursorPos());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    move(TopCentre(screen->availableGeometry(), frameGeometry().width()));
}

void TForm1::SetClientHeight(int height) {
    setFixedSize(kClientWidth, height);
}

void TForm1::SpeedButtonUPClick() {
    SetClientHeight(kCollapsedClientHeight);
}

void TForm1::SpeedButtonDownClick() {
    SetClientHeight(Panel1->height() + kCollapsedClientHeight + 1);
}

std::string TForm1::SourceText() const {
    return WithCrLfBreaks(Memo1->toPlainText()).toStdString();
}

void TForm1::Button1Click() {
    // A trigger that comes while a translation waits runs once that one has ended.
    if (translating_) {
        triggerPending_ = true;
        return;
    }
    do {
        triggerPending_ = false;
        RunTranslation();
    } while (triggerPending_ && !closing_);
}

void TForm1::RunTranslation() {
    if (closing_ || AnsiLength(SourceText()) < kMinimumSourceLength)
        return;
    Button1->setEnabled(false);
    translating_ = true;
    struct EndTranslation {
        TForm1& form;
        ~EndTranslation() {
            form.translating_ = false;
            form.Button1->setEnabled(true);
        }
    } endTranslation{*this};
    TMemoLines resultLines(*Memo2);
    RunLimited([&] {
        services_.TranslateText(ComboBox1->currentText().toStdString(), SourceText(), resultLines);
    });
    if (!closing_ && AnsiLength(SourceText()) < kDictionaryLengthLimit)
        RunLimited([&] { services_.LookupDictionary(SourceText(), *this); });
}

void TForm1::RunLimited(const std::function<void()>& request) const {
    // A request that gets no answer must not hold the window for ever: it fails after the limit.
    const TRequestLimit limit(RequestTimeLimit);
    request();
}

void TForm1::AbandonRequests() {
    // The program ends at once: a request that still waits is given up, and nothing that would
    // follow it (the lookup, a waiting trigger, a page or a message box) runs any more.
    closing_ = true;
    TRequestLimit::AbandonAll();
}

void TForm1::ShowHtmlInPanel(const std::string& html) {
    if (!closing_)
        WebBrowser1->LoadDocument(html, "GBK");
}

void TForm1::ShowMessage(const std::string& text) {
    if (!closing_)
        OnMessageBox(text);
}

bool TForm1::Memo1KeyPress(const QKeyEvent& key) {
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    // Shift+Enter and Ctrl+Enter are how a person types a line break into the box.
    if (key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        Memo1->insertPlainText("\n");
        return true;
    }
    Button1Click();
    return true;
}

void TForm1::Memo1Change() {
    // Only the user's own edits start the typing state; the clipboard path's write must not
    // block the next copy.
    if (!programWrite_)
        Inputing = true;
    TmrInputing->Tag = 0;
    TmrInputing->start();
    ComboBox1->setCurrentIndex(HasNonAsciiChar(SourceText()) ? kPairChineseToEnglish
                                                             : kPairEnglishToChinese);
}

void TForm1::TmrInputingTimer() {
    if (++TmrInputing->Tag <= kInputingLastTick)
        return;
    TmrInputing->Tag = 0;
    TmrInputing->stop();
    Inputing = false;
}

void TForm1::FormDeactivate() {
    Inputing = false;
    TmrInputing->Tag = 0;
    TmrInputing->setInterval(kInputingIntervalAfterDeactivate);
    TmrInputing->stop();
}

void TForm1::Memo1DblClick() {
    Memo1->selectAll();
}

void TForm1::Memo2DblClick() {
    Memo2->selectAll();
}

void TForm1::Memo1MouseMove() {
    Memo1->setFocus();
}

void TForm1::Memo2MouseMove() {
    Memo2->setFocus();
}

void TForm1::Timer2Timer() {
    Timer2->stop();
    ClipboardWatch->Register();
}

void TForm1::CheckBox1Click() {
    // Setting the flag on the widget would make a new native window, which the window manager
    // places afresh and puts back into the taskbar: the native window changes in place instead.
    const Qt::WindowFlags flags =
        windowFlags().setFlag(Qt::WindowStaysOnTopHint, CheckBox1->isChecked());
    overrideWindowFlags(flags);
    if (QWindow* native = windowHandle())
        native->setFlags(flags);
    ClipboardWatch->Register();
}

void TForm1::WMDrawClipboard() {
    try {
        // Text this program put there itself (copied out of a box) is not taken back.
        if (Inputing || platform::TClipboardWatch::OwnedByThisProgram())
            return;
        if (const auto text = platform::TClipboardWatch::ReadText())
            TakeClipboardText(*text);
    } catch (const std::exception&) {
        // A clipboard change that cannot be taken is simply not taken: the user did not ask
        // for anything, so there is nobody to tell.
    }
}

void TForm1::TakeClipboardText(const std::string& text) {
    const QString newText = WithLfBreaks(QString::fromStdString(text));
    if (Memo1->toPlainText() != newText) {
        programWrite_ = true;
        Memo1->setPlainText(newText);
        programWrite_ = false;
    }
    if (AnsiLength(SourceText()) < kClipboardTranslateLimit)
        Button1Click();
}

void TForm1::LeaveClipboardWatch() {
    ClipboardWatch->Unregister();
}

void TForm1::N1Click() {
    LeaveClipboardWatch();
    AbandonRequests();
    QCoreApplication::quit();
}

void TForm1::closeEvent(QCloseEvent* event) {
    LeaveClipboardWatch();
    AbandonRequests();
    QWidget::closeEvent(event);
    // A window hidden to the tray is not the last window closed, so the program ends here.
    if (event->isAccepted())
        QCoreApplication::quit();
}

void TForm1::changeEvent(QEvent* event) {
    // Qt reports a deactivation both when another window of this program and when another
    // application takes the focus; both end the typing state.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
    QWidget::changeEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const bool memo1 = watched == Memo1->viewport();
    const bool memo2 = watched == Memo2->viewport();
    switch (event->type()) {
    case QEvent::KeyPress:
        return watched == Memo1 && Memo1KeyPress(static_cast<QKeyEvent&>(*event));
    case QEvent::MouseButtonDblClick:
        if (memo1)
            Memo1DblClick();
        if (memo2)
            Memo2DblClick();
        return memo1 || memo2;
    case QEvent::MouseMove:
        if (memo1)
            Memo1MouseMove();
        if (memo2)
            Memo2MouseMove();
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        // Every drag over the source box is accepted, and a drop changes nothing.
        if (memo1)
            static_cast<QDropEvent&>(*event).acceptProposedAction();
        return memo1;
    case QEvent::Drop:
        return memo1;
    default:
        return false;
    }
}

} // namespace quorvex
