// The main window's controls as laid out at start: sizes, captions, fonts and timers.
#include "app/LinkLabel.h"
#include "app/Unit1.h"
#include "platform/gui/ClipboardWatch.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/PopupMenu.h"
#include "platform/gui/WebBrowser.h"
#include "quorvex/Version.h"
#include "translate/LanguagePairs.h"
#include "translate/ServiceHosts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace quorvex {

namespace {

inline constexpr const char* kCaptionSiteLabel = "quorvex.net";
inline constexpr int kWindowFontHeight = 11;
inline constexpr int kMemoFontHeight = 13;
inline constexpr int kArrowButtonFontHeight = 8;
inline constexpr int kSizeButtonFontHeight = 19;
inline constexpr int kInitialAlphaBlendValue = 250;
inline constexpr int kOpaqueAlphaBlendValue = 255;
inline constexpr int kTrackBarMin = 100;
inline constexpr int kTrackBarMax = 255;

inline constexpr int kTimer1Interval = 2000;
inline constexpr int kTimer2Interval = 3000;
inline constexpr int kMouseOutInterval = 100;
inline constexpr int kInputingInterval = 300;

QGroupBox* CreateGroupBox(QWidget* parent, const char* title, QRect geometry) {
    auto* box = new QGroupBox(QString::fromUtf8(title), parent);
    box->setGeometry(geometry);
    return box;
}

QPlainTextEdit* CreateMemo(QWidget* parent, const char* name, QRect geometry) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setAccessibleName(QString::fromUtf8(name));
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
                              const char* hint) {
    auto* button = new QToolButton(parent);
    button->setText(QString::fromUtf8(caption));
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setFont(platform::WindowFont(fontHeight, true));
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(QString::fromUtf8(hint));
    // Tab reaches the flat buttons (Space presses them); a click leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

TLinkLabel* CreateLinkLabel(QWidget* parent, const char* caption, QRect geometry,
                            const QString& hint) {
    auto* label = new TLinkLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(geometry);
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

} // namespace

void TForm1::CreateWindowFrame() {
    setWindowTitle(QString("Quorvex  V%1   %2  ").arg(kProgramVersion, kCaptionSiteLabel));
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
    ComboBox1->setAccessibleName(QString::fromUtf8("语言对"));
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
    TrackBar1->setAccessibleName(QString::fromUtf8("透明度"));
    TrackBar1->setToolTip(QString::fromUtf8("透明度"));
}

void TForm1::CreateTextGroups() {
    GroupBox2 = CreateGroupBox(this, "原文", {0, 56, 481, 109});
    Memo1 = CreateMemo(GroupBox2, "原文", {4, 15, 469, 88});
    Memo1->viewport()->setAcceptDrops(true);
    GroupBox3 = CreateGroupBox(this, "译文", {0, 169, 481, 111});
    Memo2 = CreateMemo(GroupBox3, "译文", {5, 15, 468, 88});
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
    SpeedButton1 =
        CreateFlatButton(this, "+", {400, 280, 23, 15}, kSizeButtonFontHeight, "网页面板加高");
    SpeedButton2 =
        CreateFlatButton(this, "-", {432, 280, 23, 15}, kSizeButtonFontHeight, "网页面板减低");
}

void TForm1::CreateWebPanel() {
    Panel1 = new QFrame(this);
    Panel1->setGeometry(5, 295, 471, 169);
    Panel1->setAccessibleName(QString::fromUtf8("网页面板"));
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
    Timer1->Tag = kReportStartCount;
    Timer2 = createTimer(kTimer2Interval, true);
    tmrMouseOut = createTimer(kMouseOutInterval, true);
    TmrInputing = createTimer(kInputingInterval, false);
    ClipboardWatch = new platform::TClipboardWatch(this);
}

void TForm1::CreatePopupMenu() {
    PopupMenu1 = new platform::TPopupMenu(this);
    N2 = PopupMenu1->addAction(QString::fromUtf8("显示/隐藏"));
    N3 = PopupMenu1->addAction(QString::fromUtf8("检查新版本"));
    PauseClipboardItem = PopupMenu1->addAction(QString::fromUtf8("暂停剪贴板翻译"));
    PauseClipboardItem->setCheckable(true);
    SettingsItem = PopupMenu1->addAction(QString::fromUtf8("设置…"));
    connect(SettingsItem, &QAction::triggered, this, &TForm1::SettingsItemClick);
    N4 = PopupMenu1->addSeparator();
    N1 = PopupMenu1->addAction(QString::fromUtf8("退出(Exit)"));
    // The tray icon shows this menu once it exists; the window's context menu shows it too.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(mapToGlobal(pos)); });
}

} // namespace quorvex
