#include "platform/gui/Application.h"

#include "platform/Exception.h"
#include "support/Pumping.h"

#include <QTimer>
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

} // namespace
} // namespace quorvex::platform
