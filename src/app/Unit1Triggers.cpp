// What starts a translation in the main window: the button, Enter, typing and the clipboard
// watch, and the conveniences of the two text boxes.
#include "app/MemoLines.h"
#include "app/Unit1.h"
#include "platform/TextCodec.h"
#include "platform/gui/ClipboardWatch.h"
#include "platform/gui/WebBrowser.h"
#include "translate/RequestLimit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>
#include <QWindow>
#include <utility>

namespace quorvex {

namespace {

inline constexpr int kInputingIntervalAfterDeactivate = 500;
inline constexpr int kInputingLastTick = 10;

// Byte counts in the ANSI code page.
inline constexpr std::size_t kMinimumSourceLength = 1;
inline constexpr std::size_t kDictionaryLengthLimit = 30;
inline constexpr std::size_t kClipboardTranslateLimit = 150;

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

void TForm1::WireEvents() {
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm1::Memo1Change);
    connect(TmrInputing, &QTimer::timeout, this, &TForm1::TmrInputingTimer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(SpeedButtonUP, &QToolButton::clicked, this, &TForm1::SpeedButtonUPClick);
    connect(SpeedButtonDown, &QToolButton::clicked, this, &TForm1::SpeedButtonDownClick);
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
    connect(ComboBox1, &QComboBox::activated, this, &TForm1::PairChosen);
    connect(PauseClipboardItem, &QAction::triggered, this, &TForm1::PauseClipboardClick);
    ClipboardWatch->OnChange = [this](platform::TClipboardWatch&) { WMDrawClipboard(); };
    Memo1->installEventFilter(this);
    Memo1->viewport()->installEventFilter(this);
    Memo2->viewport()->installEventFilter(this);
}

std::string TForm1::SourceText() const {
    return WithCrLfBreaks(Memo1->toPlainText()).toStdString();
}

void TForm1::Button1Click() {
    Trigger(true);
}

void TForm1::PairChosen() {
    Trigger(true);
}

void TForm1::Trigger(bool byPerson) {
    // A trigger that comes while a translation waits runs once that one has ended.
    if (translating_) {
        triggerPending_ = true;
        pendingByPerson_ = pendingByPerson_ || byPerson;
        return;
    }
    do {
        triggerPending_ = false;
        RunTranslation(std::exchange(pendingByPerson_, false) || byPerson);
        byPerson = false;
    } while (triggerPending_ && !closing_);
}

void TForm1::RunTranslation(bool byPerson) {
    if (closing_ || AnsiLength(SourceText()) < kMinimumSourceLength)
        return;
    runningByPerson_ = byPerson;
    status_.clear();
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
        RunLimited([&] {
            services_.LookupDictionary(ComboBox1->currentText().toStdString(), SourceText(), *this);
        });
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
        WebBrowser1->LoadDocument(html + status_, "GBK");
}

void TForm1::ShowUtf8HtmlInPanel(const std::string& html) {
    if (!closing_)
        WebBrowser1->LoadDocument(html, "UTF-8");
}

void TForm1::ShowMessage(const std::string& text) {
    if (closing_)
        return;
    // A box comes only for what the person just did in the window; anything else (a copy made
    // in another program, a window hidden in the tray) must not break into their work.
    if (runningByPerson_ && isVisible() && !isMinimized())
        OnMessageBox(text);
    else
        ShowStatus(text);
}

void TForm1::ShowStatus(const std::string& text) {
    status_ =
        platform::Utf8ToGbk("<p style=\"color:#808080;font-size:small\">" +
                            QString::fromStdString(text).toHtmlEscaped().toStdString() + "</p>");
    WebBrowser1->LoadDocument(status_, "GBK");
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
        Trigger(false);
}

void TForm1::PauseClipboardClick() {
    ClipboardWatch->SetPaused(PauseClipboardItem->isChecked());
}

void TForm1::TakeDroppedText(const QString& text) {
    // A drop replaces the source text and translates it, as a person pasting it would expect.
    Memo1->setPlainText(WithLfBreaks(text));
    Memo1->moveCursor(QTextCursor::End);
    Button1Click();
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
        // Every drag over the source box is accepted; a drop with text fills it.
        if (memo1)
            static_cast<QDropEvent&>(*event).acceptProposedAction();
        return memo1;
    case QEvent::Drop: {
        auto& drop = static_cast<QDropEvent&>(*event);
        if (memo1 && drop.mimeData()->hasText()) {
            drop.acceptProposedAction();
            TakeDroppedText(drop.mimeData()->text());
        }
        return memo1;
    }
    default:
        return false;
    }
}

} // namespace quorvex
