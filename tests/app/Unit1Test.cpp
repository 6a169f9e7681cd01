#include "app/Unit1.h"

#include "app/FakeServices.h"
#include "app/LinkLabel.h"
#include "app/MemoLines.h"
#include "app/TranslationServices.h"
#include "platform/Exception.h"
#include "platform/InstanceLock.h"
#include "platform/gui/ClipboardWatch.h"
#include "platform/gui/PopupMenu.h"
#include "platform/gui/WebBrowser.h"
#include "quorvex/Version.h"
#include "support/ScopedEnvironment.h"
#include "translate/LanguagePairs.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <QWindow>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace quorvex {
namespace {

using test_support::TFakeServices;

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

void Copy(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

// The dark pixels of `image` within `area` (clipped to the image), relative to the area.
std::set<std::pair<int, int>> Ink(const QImage& image, const QRect& area) {
    std::set<std::pair<int, int>> ink;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink.insert({x - area.left(), y - area.top()});
    return ink;
}

// True when one row of `ink` runs across nearly all of its width, as an underline does.
bool HasUnderline(const std::set<std::pair<int, int>>& ink) {
    if (ink.empty())
        return false;
    std::map<int, int> perRow;
    int left = ink.begin()->first;
    int right = left;
    for (const auto& [x, y] : ink) {
        ++perRow[y];
        left = std::min(left, x);
        right = std::max(right, x);
    }
    for (const auto& [row, count] : perRow)
        if (count * 10 >= (right - left + 1) * 9)
            return true;
    return false;
}

class Form1Test : public testing::Test {
protected:
    Form1Test()
        : form_(services_, true) {}

    std::string Source() const { return form_.Memo1->toPlainText().toStdString(); }
    std::string Result() const { return form_.Memo2->toPlainText().toStdString(); }
    // Typed keys for ASCII text; text from the input method, as Chinese is entered, otherwise.
    void Type(const char* text) {
        const QString typed = QString::fromUtf8(text);
        for (const QChar character : typed) {
            if (character.unicode() < 128) {
                QTest::keyClick(form_.Memo1, character.toLatin1());
                continue;
            }
            QInputMethodEvent committed;
            committed.setCommitString(character);
            QCoreApplication::sendEvent(form_.Memo1, &committed);
        }
    }
    // Starts the clipboard watch on an empty clipboard, with the typing state off.
    void StartClipboardWatch() {
        QGuiApplication::clipboard()->clear();
        form_.Inputing = false;
        form_.Timer2Timer();
    }

    TFakeServices services_;
    TForm1 form_;
};

TEST_F(Form1Test, WindowStartsExpandedWithTheDesignedSettings) {
    EXPECT_EQ(form_.size(), QSize(480, 465));
    EXPECT_TRUE(form_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form_.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form_.windowTitle().toStdString(),
              std::string("Quorvex  V") + kProgramVersion + "   quorvex.net  ");
    EXPECT_NEAR(form_.windowOpacity(), 250.0 / 255.0, 0.01);
    EXPECT_EQ(form_.Button1->text().toStdString(), "翻译/translate");
    EXPECT_TRUE(form_.Button1->isEnabled());
    EXPECT_TRUE(form_.CheckBox1->isChecked());
    EXPECT_EQ(form_.TrackBar1->orientation(), Qt::Vertical);
    EXPECT_EQ(form_.TrackBar1->minimum(), 100);
    EXPECT_EQ(form_.TrackBar1->maximum(), 255);
    EXPECT_EQ(form_.TrackBar1->value(), 100);
    EXPECT_EQ(form_.Memo1->geometry(), QRect(4, 15, 469, 88));
    EXPECT_EQ(form_.Memo1->parentWidget(), form_.GroupBox2);
    EXPECT_EQ(form_.Memo2->geometry(), QRect(5, 15, 468, 88));
    EXPECT_EQ(form_.Memo2->parentWidget(), form_.GroupBox3);
    EXPECT_EQ(form_.Panel1->geometry(), QRect(5, 295, 471, 169));
    EXPECT_EQ(form_.WebBrowser1->View().geometry(), QRect(-2, -2, 475, 169));
    EXPECT_EQ(form_.WebBrowser1->View().parentWidget(), form_.Panel1);
    EXPECT_EQ(form_.SpeedButtonUP->toolTip().toStdString(), "收起");
    EXPECT_EQ(form_.SpeedButtonDown->toolTip().toStdString(), "展开");
    EXPECT_TRUE(form_.Label2->toolTip().startsWith(QString::fromUtf8("打开Google官方翻译网站 ")));
    EXPECT_EQ(form_.Label3->toolTip(), form_.Label2->toolTip());
    EXPECT_TRUE(form_.Label4->toolTip().startsWith(QString::fromUtf8("打开百度字典官方翻译网站 ")));
}

TEST_F(Form1Test, ComboBoxOffersEightPairsWithEnglishToChineseSelected) {
    const std::vector<std::string> expected = {
        "英语 翻译成 中文(简体) BETA", "中文(简体) 翻译成 英语 BETA", "中文(简体到繁体) BETA",
        "中文(繁体到简体) BETA",       "英语 翻译成 西班牙语",        "英语 翻译成 法语",
        "英语 翻译成 日语 BETA",       "日语 翻译成 英语 BETA"};
    ASSERT_EQ(form_.ComboBox1->count(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(form_.ComboBox1->itemText(i).toStdString(), expected[i]);
    EXPECT_EQ(form_.ComboBox1->currentIndex(), 0);
    EXPECT_FALSE(form_.ComboBox1->isEditable());
}

TEST_F(Form1Test, TimersAndTrayMenuAsDesigned) {
    EXPECT_EQ(form_.Timer1->interval(), 2000);
    EXPECT_EQ(form_.Timer1->Tag, -5);
    EXPECT_EQ(form_.Timer2->interval(), 3000);
    EXPECT_TRUE(form_.Timer2->isActive());
    EXPECT_EQ(form_.tmrMouseOut->interval(), 100);
    EXPECT_EQ(form_.TmrInputing->interval(), 300);
    EXPECT_FALSE(form_.TmrInputing->isActive());
    const QList<QAction*> items = form_.PopupMenu1->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[0], form_.N2);
    EXPECT_EQ(items[0]->text().toStdString(), "显示/隐藏");
    EXPECT_EQ(items[1]->text().toStdString(), "检查新版本");
    EXPECT_EQ(items[2], form_.PauseClipboardItem);
    EXPECT_EQ(items[2]->text().toStdString(), "暂停剪贴板翻译");
    EXPECT_TRUE(items[2]->isCheckable());
    EXPECT_EQ(items[3]->text().toStdString(), "设置…");
    EXPECT_TRUE(items[4]->isSeparator());
    EXPECT_EQ(items[5], form_.N1);
    EXPECT_EQ(items[5]->text().toStdString(), "退出(Exit)");
    EXPECT_EQ(form_.contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(Form1Test, CollapseAndExpandFollowThePanelHeight) {
    form_.SpeedButtonUPClick();
    EXPECT_EQ(form_.height(), 295);
    form_.Panel1->resize(471, 200);
    form_.SpeedButtonDownClick();
    EXPECT_EQ(form_.height(), 496);
    EXPECT_EQ(form_.width(), 480);
}

TEST(Form1Placement, CentresOnTheVirtualDesktopByTheOuterWidth) {
    EXPECT_EQ(CentredLeft(1024, 486), 269);
    EXPECT_EQ(CentredLeft(1023, 486), 268);
    EXPECT_EQ(CentredLeft(400, 486), -43);
    TFakeServices services;
    TForm1 form(services, true);
    const int desktopWidth = QGuiApplication::primaryScreen()->virtualGeometry().width();
    EXPECT_EQ(form.frameGeometry().top(), 10);
    EXPECT_EQ(form.frameGeometry().left(), CentredLeft(desktopWidth, form.frameGeometry().width()));
}

TEST(Form1Instance, SecondStartWithoutArgumentsEndsWithArgumentsGoesOn) {
    // A runtime folder of this test alone, so that no running Quorvex holds the lock.
    QTemporaryDir runtimeDir;
    ASSERT_TRUE(runtimeDir.isValid());
    const QByteArray previousRuntimeDir = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", previousRuntimeDir); });
    const platform::TInstanceLock firstInstance(kInstanceName);
    ASSERT_FALSE(firstInstance.AlreadyExisted());
    TFakeServices services;
    EXPECT_TRUE(TForm1(services, false).SecondInstance());
    TForm1 withArguments(services, true);
    EXPECT_FALSE(withArguments.SecondInstance());
    EXPECT_EQ(withArguments.height(), 465);
}

TEST(Form1Text, NonAsciiMeansAByteOf127OrMore) {
    EXPECT_FALSE(HasNonAsciiChar(""));
    EXPECT_FALSE(HasNonAsciiChar("plain text ~"));
    EXPECT_TRUE(HasNonAsciiChar("\x7f"));
    EXPECT_TRUE(HasNonAsciiChar("a中"));
    EXPECT_EQ(AnsiLength("中文ab"), 6u);
}

TEST_F(Form1Test, ButtonDoesNothingForAnEmptySource) {
    form_.Button1Click();
    QTest::keyClick(form_.Memo1, Qt::Key_Return);
    EXPECT_TRUE(services_.Translations.empty());
    EXPECT_TRUE(services_.Lookups.empty());
}

TEST_F(Form1Test, ButtonTranslatesWithTheSelectedPairAndDisablesItselfMeanwhile) {
    form_.Memo1->setPlainText("a");
    form_.ComboBox1->setCurrentIndex(5);
    bool enabledWhileTranslating = true;
    services_.WhileTranslating = [&] { enabledWhileTranslating = form_.Button1->isEnabled(); };
    form_.Button1Click();
    ASSERT_EQ(services_.Translations.size(), 1u);
    EXPECT_EQ(services_.Translations[0].Pair, "英语 翻译成 法语");
    EXPECT_EQ(services_.Translations[0].Text, "a");
    EXPECT_EQ(services_.Lookups, std::vector<std::string>{"a"});
    EXPECT_EQ(Result(), "T:a");
    EXPECT_FALSE(enabledWhileTranslating);
    EXPECT_TRUE(form_.Button1->isEnabled());
}

TEST_F(Form1Test, DictionaryOnlyBelowThirtyAnsiBytes) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {Repeat("中", 14), true}, {Repeat("中", 15), false},      {Repeat("a", 29), true},
        {Repeat("a", 30), false}, {"中" + Repeat("a", 27), true}, {"中" + Repeat("a", 28), false}};
    for (const auto& [text, lookedUp] : cases) {
        services_.Lookups.clear();
        form_.Memo1->setPlainText(QString::fromStdString(text));
        form_.Button1Click();
        EXPECT_EQ(services_.Lookups.size(), lookedUp ? 1u : 0u) << text;
    }
    EXPECT_EQ(services_.Translations.size(), cases.size());
}

TEST_F(Form1Test, EachStepReadsTheSourceAfresh) {
    form_.Memo1->setPlainText(QString::fromStdString(Repeat("a", 40)));
    services_.WhileTranslating = [&] { form_.Memo1->setPlainText("short"); };
    form_.Button1Click();
    EXPECT_EQ(services_.Lookups, std::vector<std::string>{"short"});
}

TEST_F(Form1Test, FailureOfTheLookupReenablesTheButtonAndReachesTheCaller) {
    form_.Memo1->setPlainText("word");
    services_.OnLookup = [](TDictionaryPanel&) { throw Exception("panel broken"); };
    EXPECT_THROW(form_.Button1Click(), Exception);
    EXPECT_TRUE(form_.Button1->isEnabled());
    services_.OnLookup = nullptr;
    form_.Button1Click();
    EXPECT_EQ(services_.Translations.size(), 2u);
}

TEST_F(Form1Test, EnterTranslatesWithoutALineBreak) {
    Type("hello");
    QTest::keyClick(form_.Memo1, Qt::Key_Return);
    QTest::keyClick(form_.Memo1, Qt::Key_Enter);
    EXPECT_EQ(Source(), "hello");
    ASSERT_EQ(services_.Translations.size(), 2u);
    EXPECT_EQ(services_.Translations[0].Text, "hello");
}

TEST_F(Form1Test, TypingPicksThePairByTheText) {
    Type("hello");
    EXPECT_EQ(form_.ComboBox1->currentIndex(), 0);
    form_.ComboBox1->setCurrentIndex(4);
    Type("!");
    EXPECT_EQ(form_.ComboBox1->currentIndex(), 0);
    Type("中");
    EXPECT_EQ(form_.ComboBox1->currentIndex(), 1);
    form_.Memo1->clear();
    EXPECT_EQ(form_.ComboBox1->currentIndex(), 0);
}

TEST_F(Form1Test, TypingStateLastsElevenTicksOfTheTypingTimer) {
    Type("x");
    EXPECT_TRUE(form_.Inputing);
    EXPECT_TRUE(form_.TmrInputing->isActive());
    for (int tick = 1; tick <= 10; ++tick)
        form_.TmrInputingTimer();
    EXPECT_TRUE(form_.Inputing);
    EXPECT_EQ(form_.TmrInputing->Tag, 10);
    Type("y");
    EXPECT_EQ(form_.TmrInputing->Tag, 0);
    for (int tick = 1; tick <= 11; ++tick)
        form_.TmrInputingTimer();
    EXPECT_FALSE(form_.Inputing);
    EXPECT_FALSE(form_.TmrInputing->isActive());
    EXPECT_EQ(form_.TmrInputing->Tag, 0);
}

TEST_F(Form1Test, DeactivationEndsTheTypingStateAndSlowsTheTimer) {
    Type("x");
    form_.FormDeactivate();
    EXPECT_FALSE(form_.Inputing);
    EXPECT_FALSE(form_.TmrInputing->isActive());
    EXPECT_EQ(form_.TmrInputing->interval(), 500);
}

TEST_F(Form1Test, LosingTheActiveWindowEndsTheTypingState) {
    form_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
    form_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
    Type("x");
    ASSERT_TRUE(form_.Inputing);
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    EXPECT_FALSE(form_.Inputing);
    EXPECT_EQ(form_.TmrInputing->interval(), 500);
}

TEST_F(Form1Test, ClipboardIsWatchedFromTimer2OnAndItsTextTranslated) {
    Copy("copied before");
    EXPECT_TRUE(Source().empty());
    form_.Timer2Timer();
    EXPECT_FALSE(form_.Timer2->isActive());
    EXPECT_EQ(Source(), "copied before");
    Copy("中文");
    EXPECT_EQ(Source(), "中文");
    EXPECT_EQ(form_.ComboBox1->currentIndex(), 1);
    ASSERT_EQ(services_.Translations.size(), 2u);
    EXPECT_EQ(services_.Translations[1].Pair, "中文(简体) 翻译成 英语 BETA");
    EXPECT_EQ(Result(), "T:中文");
    // The program's own write does not start the typing state.
    EXPECT_FALSE(form_.Inputing);
}

TEST_F(Form1Test, ClipboardWaitsWhileTheUserTypes) {
    StartClipboardWatch();
    Type("typed");
    Copy("copied");
    EXPECT_EQ(Source(), "typed");
    EXPECT_TRUE(services_.Translations.empty());
    form_.FormDeactivate();
    Copy("copied");
    EXPECT_EQ(Source(), "copied");
}

TEST_F(Form1Test, ClipboardTranslatesBelow150AnsiBytes) {
    StartClipboardWatch();
    Copy(Repeat("a", 149));
    EXPECT_EQ(services_.Translations.size(), 1u);
    Copy(Repeat("中", 75));
    EXPECT_EQ(Source(), Repeat("中", 75));
    EXPECT_EQ(services_.Translations.size(), 1u);
    Copy(Repeat("中", 74) + "a");
    EXPECT_EQ(services_.Translations.size(), 2u);
}

TEST_F(Form1Test, ClipboardImageLeavesTheSourceAlone) {
    StartClipboardWatch();
    Copy("text");
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QGuiApplication::clipboard()->setImage(image);
    EXPECT_EQ(Source(), "text");
    EXPECT_EQ(services_.Translations.size(), 1u);
}

TEST_F(Form1Test, SameTextCopiedTwiceIsTranslatedTwiceWithoutAChange) {
    StartClipboardWatch();
    QSignalSpy changes(form_.Memo1, &QPlainTextEdit::textChanged);
    Copy("again");
    Copy("again");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(services_.Translations.size(), 2u);
}

TEST_F(Form1Test, ClipboardPathSwallowsFailures) {
    StartClipboardWatch();
    services_.OnLookup = [](TDictionaryPanel&) { throw Exception("panel broken"); };
    EXPECT_NO_THROW(Copy("word"));
    EXPECT_EQ(services_.Lookups, std::vector<std::string>{"word"});
    EXPECT_TRUE(form_.Button1->isEnabled());
}

TEST_F(Form1Test, TriggersDuringATranslationRunAfterItWithTheLatestText) {
    StartClipboardWatch();
    services_.WhileTranslating = [&] {
        Copy("second");
        Copy("third");
    };
    Copy("first");
    EXPECT_EQ(services_.MaxDepth, 1);
    ASSERT_EQ(services_.Translations.size(), 2u);
    EXPECT_EQ(services_.Translations[0].Text, "first");
    EXPECT_EQ(services_.Translations[1].Text, "third");
    EXPECT_EQ(Result(), "T:third");
}

TEST_F(Form1Test, EnterDuringATranslationRunsOnceItEnds) {
    form_.Memo1->setPlainText("one");
    services_.WhileTranslating = [&] {
        QTest::keyClick(form_.Memo1, Qt::Key_Return);
        QTest::keyClick(form_.Memo1, Qt::Key_Return);
    };
    form_.Button1Click();
    EXPECT_EQ(services_.MaxDepth, 1);
    EXPECT_EQ(services_.Translations.size(), 2u);
}

TEST_F(Form1Test, StayOnTopBoxSwitchesTheFlagAndTakesOnlyAClipboardChangedMeanwhile) {
    StartClipboardWatch();
    Copy("on the clipboard");
    form_.Memo1->setPlainText("typed over");
    form_.Inputing = false;
    form_.CheckBox1->click();
    EXPECT_FALSE(form_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Source(), "typed over");
    EXPECT_EQ(services_.Translations.size(), 1u);
    // A copy the watch did not see (it was away) is taken when it comes back.
    form_.ClipboardWatch->Unregister();
    Copy("copied meanwhile");
    form_.CheckBox1->click();
    EXPECT_TRUE(form_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Source(), "copied meanwhile");
    EXPECT_EQ(services_.Translations.size(), 2u);
}

TEST_F(Form1Test, SecretsAndCopiesWhilePausedAreNeverTaken) {
    StartClipboardWatch();
    const auto copyMarked = [](const char* text, const char* hint) {
        auto* data = new QMimeData;
        data->setText(text);
        data->setData("x-kde-passwordManagerHint", hint);
        QGuiApplication::clipboard()->setMimeData(data);
    };
    copyMarked("pa55word", "secret");
    EXPECT_TRUE(Source().empty());
    copyMarked("shown", "show");
    EXPECT_EQ(Source(), "shown");
    form_.PauseClipboardItem->trigger();
    Copy("while paused");
    EXPECT_EQ(Source(), "shown");
    form_.PauseClipboardItem->trigger();
    Copy("after the pause");
    EXPECT_EQ(Source(), "after the pause");
    EXPECT_EQ(services_.Translations.size(), 2u);
}

TEST_F(Form1Test, FailureBoxOnlyForThePersonsOwnTriggerInAShownWindow) {
    std::vector<std::string> boxes;
    form_.OnMessageBox = [&](const std::string& text) { boxes.push_back(text); };
    services_.OnLookup = [](TDictionaryPanel& panel) { panel.ShowMessage("refused"); };
    StartClipboardWatch();
    form_.show();
    Copy("copied");
    EXPECT_TRUE(boxes.empty());
    form_.Button1Click();
    EXPECT_EQ(boxes.size(), 1u);
    form_.hide();
    form_.Button1Click();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(services_.Lookups.size(), 3u);
}

TEST_F(Form1Test, ChoosingAPairTranslatesTheSourceAgainWithIt) {
    form_.Memo1->setPlainText("hello");
    QTest::keyClick(form_.ComboBox1, Qt::Key_Down);
    ASSERT_EQ(services_.Translations.size(), 1u);
    EXPECT_EQ(services_.Translations[0].Pair, form_.ComboBox1->itemText(1).toStdString());
}

TEST_F(Form1Test, ClosingLeavesTheClipboardWatch) {
    StartClipboardWatch();
    form_.show();
    form_.close();
    EXPECT_FALSE(form_.ClipboardWatch->IsRegistered());
    Copy("after close");
    EXPECT_TRUE(Source().empty());
}

TEST_F(Form1Test, ExitFromTheTrayMenuLeavesTheClipboardWatchAndEndsTheProgram) {
    StartClipboardWatch();
    form_.show();
    QTimer::singleShot(0, form_.N1, &QAction::trigger);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(form_.ClipboardWatch->IsRegistered());
    Copy("after exit");
    EXPECT_TRUE(Source().empty());
}

TEST_F(Form1Test, DoubleClickSelectsAllAndADropFillsTheSourceAndTranslates) {
    form_.show();
    form_.Memo2->setPlainText("one two three");
    QTest::mouseDClick(form_.Memo2->viewport(), Qt::LeftButton);
    EXPECT_EQ(form_.Memo2->textCursor().selectedText().toStdString(), "one two three");
    form_.Memo1->setPlainText("kept");
    QMimeData dropped;
    dropped.setText("dropped");
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form_.Memo1->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form_.Memo1->viewport(), &drop);
    EXPECT_EQ(Source(), "dropped");
    ASSERT_EQ(services_.Translations.size(), 1u);
    EXPECT_EQ(services_.Translations[0].Text, "dropped");
}

TEST_F(Form1Test, HoveringABoxGivesItTheFocus) {
    const auto hover = [](QPlainTextEdit* memo) {
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 10),
                         memo->viewport()->mapToGlobal(QPointF(10, 10)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(memo->viewport(), &move);
    };
    hover(form_.Memo2);
    EXPECT_EQ(form_.focusWidget(), form_.Memo2);
    hover(form_.Memo1);
    EXPECT_EQ(form_.focusWidget(), form_.Memo1);
}

TEST_F(Form1Test, LookupMessageBoxIsTransientForTheWindow) {
    form_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
    QWidget* parent = nullptr;
    QWindow* transientParent = nullptr;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || !box->isVisible())
            return;
        parent = box->parentWidget();
        transientParent = box->windowHandle()->transientParent();
        box->close();
    });
    poll.start(10);
    form_.ShowMessage("Connection refused");
    EXPECT_EQ(parent, &form_);
    EXPECT_EQ(transientParent, form_.windowHandle());
}

TEST_F(Form1Test, LineBreaksGoOutAsCrLfAndCountTwoBytes) {
    form_.Memo1->setPlainText("one\ntwo");
    form_.Button1Click();
    ASSERT_EQ(services_.Translations.size(), 1u);
    EXPECT_EQ(services_.Translations[0].Text, "one\r\ntwo");
    EXPECT_EQ(services_.Lookups, std::vector<std::string>{"one\r\ntwo"});
    const std::vector<std::pair<std::string, bool>> cases = {
        {Repeat("a", 13) + "\n" + Repeat("a", 14), true},       // 29 bytes
        {Repeat("a", 14) + "\n" + Repeat("a", 14), false},      // 30 bytes
        {Repeat("中", 6) + "\n" + Repeat("中", 7) + "a", true}, // 29 bytes
        {Repeat("中", 7) + "\n" + Repeat("中", 7), false}};     // 30 bytes
    for (const auto& [text, lookedUp] : cases) {
        services_.Lookups.clear();
        form_.Memo1->setPlainText(QString::fromStdString(text));
        form_.Button1Click();
        EXPECT_EQ(services_.Lookups.size(), lookedUp ? 1u : 0u) << text;
    }
}

TEST_F(Form1Test, CopiedLineBreaksCountTwoBytesAndTheSameTextIsNoChange) {
    StartClipboardWatch();
    QSignalSpy changes(form_.Memo1, &QPlainTextEdit::textChanged);
    Copy(Repeat("a", 73) + "\r\n" + Repeat("a", 74)); // 149 bytes
    Copy(Repeat("a", 73) + "\r\n" + Repeat("a", 74));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(Source(), Repeat("a", 73) + "\n" + Repeat("a", 74));
    ASSERT_EQ(services_.Translations.size(), 2u);
    EXPECT_EQ(services_.Translations[1].Text, Repeat("a", 73) + "\r\n" + Repeat("a", 74));
    Copy(Repeat("a", 74) + "\n" + Repeat("a", 74)); // 150 bytes
    EXPECT_EQ(services_.Translations.size(), 2u);
}

TEST_F(Form1Test, ShiftOrCtrlEnterBreaksTheLineAndPlainEnterTranslates) {
    Type("one");
    QTest::keyClick(form_.Memo1, Qt::Key_Return, Qt::ShiftModifier);
    Type("two");
    QTest::keyClick(form_.Memo1, Qt::Key_Return, Qt::ControlModifier);
    Type("three");
    QTest::keyClick(form_.Memo1, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    Type("four");
    EXPECT_EQ(Source(), "one\ntwo\nthree\nfour");
    EXPECT_TRUE(services_.Translations.empty());
    QTest::keyClick(form_.Memo1, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(services_.Translations.size(), 1u);
    EXPECT_EQ(services_.Translations[0].Text, "one\r\ntwo\r\nthree\r\nfour");
}

TEST_F(Form1Test, KeyboardReachesEveryControlAndEachIsNamed) {
    form_.Memo1->setPlainText("some text");
    form_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
    form_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
    EXPECT_EQ(form_.Memo1->textCursor().position(), 9) << "the cursor is not at the end";
    const std::vector<QWidget*> afterTheBoxes = {
        form_.SpeedButtonUP, form_.SpeedButtonDown, form_.Label2,      form_.Label4,
        form_.Label3,        form_.SpeedButton1,    form_.SpeedButton2};
    form_.Memo2->setFocus();
    for (QWidget* next : afterTheBoxes) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->accessibleName().toStdString();
    }
    EXPECT_TRUE(form_.Memo2->toPlainText().isEmpty()) << "Tab went into the box";
    QTest::keyClick(form_.SpeedButton2, Qt::Key_Space);
    EXPECT_EQ(form_.Panel1->height(), 159);
    // A click on a small button leaves the focus in the box.
    form_.Memo1->setFocus();
    QTest::mouseClick(form_.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), form_.Memo1);
    std::vector<QWidget*> controls = {form_.ComboBox1, form_.Button1, form_.CheckBox1,
                                      form_.TrackBar1, form_.Memo1,   form_.Memo2,
                                      form_.Panel1};
    controls.insert(controls.end(), afterTheBoxes.begin(), afterTheBoxes.end());
    for (QWidget* control : controls) {
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
            << control->metaObject()->className();
        if (qobject_cast<QToolButton*>(control) || control == form_.TrackBar1) {
            EXPECT_FALSE(control->toolTip().isEmpty()) << control->accessibleName().toStdString();
        }
    }
    // Without a tray, Esc would lose the window: it stays.
    QTest::keyClick(form_.Memo1, Qt::Key_Escape);
    EXPECT_TRUE(form_.isVisible());
}

TEST_F(Form1Test, LinkLabelsShowWholeAndUnderlinedCollapsedAndExpanded) {
    form_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form_));
    for (const bool collapsed : {false, true}) {
        collapsed ? form_.SpeedButtonUPClick() : form_.SpeedButtonDownClick();
        const QImage window = form_.grab().toImage();
        for (QLabel* label : {form_.Label2, form_.Label4, form_.Label3}) {
            const QImage own = label->grab().toImage();
            const auto ownInk = Ink(own, own.rect());
            EXPECT_TRUE(HasUnderline(ownInk)) << label->text().toStdString();
            EXPECT_EQ(Ink(window, label->geometry()), ownInk)
                << label->text().toStdString() << (collapsed ? " collapsed" : " expanded");
        }
    }
}

TEST(MemoLines, LinesOfTheBoxEachFollowedByALineBreak) {
    QPlainTextEdit memo;
    TMemoLines lines(memo);
    EXPECT_EQ(lines.Text(), "");
    lines.Add("你好");
    lines.Add("Error");
    EXPECT_EQ(memo.toPlainText().toStdString(), "你好\nError");
    EXPECT_EQ(lines.Text(), "你好\nError\n");
    lines.Clear();
    lines.Add("two\nlines");
    EXPECT_EQ(lines.Text(), "two\nlines\n");
}

TEST(MemoLines, FailedServicesLeaveErrorInTheBoxAndTheirReasonsInItsToolTip) {
    const test_support::ScopedEnvironment chain("QUORVEX_TRANSLATE_HOST", std::nullopt);
    const test_support::ScopedEnvironment order("QUORVEX_SERVICES", "apertium");
    QPlainTextEdit memo;
    TMemoLines lines(memo);
    lines.Add("earlier");
    TOnlineServices().TranslateText(std::string(kLanguagePairs[0].Caption), "hi", lines);
    EXPECT_EQ(memo.toPlainText().toStdString(), "earlier\nError");
    EXPECT_EQ(memo.toolTip().toStdString(), "没有已设置好的翻译服务翻译这个语言对");
}

} // namespace
} // namespace quorvex
