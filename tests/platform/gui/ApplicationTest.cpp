#include "platform/gui/Application.h"

#include "platform/Exception.h"
#include "support/Pumping.h"

#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

TEST(Application, FailureLeavingAHandlerIsReportedAndTheProgramGoesOn) {
    auto& application = static_cast<TApplication&>(*QCoreApplication::instance());
    EXPECT_EQ(QCoreApplication::applicationName().toStdString(), "Virovedezori");
    std::vector<std::string> reported;
    const auto previous = application.OnUnhandledFailure;
    application.OnUnhandledFailure = [&](const std::string& message) {
        reported.push_back(message);
    };
    bool laterHandlerRan = false;
    QTimer::singleShot(0, [] { throw Exception("the panel has no document"); });
    QTimer::singleShot(0, [&] { laterHandlerRan = true; });
    EXPECT_TRUE(test_support::PumpUntil([&] { return laterHandlerRan; }));
    application.OnUnhandledFailure = previous;
    EXPECT_EQ(reported, std::vector<std::string>{"the panel has no document"});
}

TEST(Application, BoxesAreTransientForTheMainWindowOrTheGivenOne) {
    auto& application = static_cast<TApplication&>(*QCoreApplication::instance());
    QWidget mainWindow;
    QWidget other;
    mainWindow.show();
    other.show();
    application.SetMainWindow(&mainWindow);
    std::vector<QWindow*> transientParents;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || !box->isVisible())
            return;
        transientParents.push_back(box->windowHandle()->transientParent());
        box->close();
    });
    poll.start(10);
    ShowErrorMessage("the panel has no document");
    ShowPlainMessage("Connection refused");
    ShowPlainMessage("Connection refused", &other);
    application.SetMainWindow(nullptr);
    EXPECT_EQ(transientParents,
              (std::vector<QWindow*>{mainWindow.windowHandle(), mainWindow.windowHandle(),
                                     other.windowHandle()}));
}

} // namespace
} // namespace quorvex::platform
