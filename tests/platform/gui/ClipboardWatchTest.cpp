#include "platform/gui/ClipboardWatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

class ClipboardWatchTest : public testing::Test {
protected:
    ClipboardWatchTest() {
        watch_.OnChange = [this](TClipboardWatch& sender) {
            EXPECT_EQ(&sender, &watch_);
            seen_.push_back(TClipboardWatch::ReadText());
        };
    }
    static void Copy(const QString& text) { QGuiApplication::clipboard()->setText(text); }

    TClipboardWatch watch_;
    std::vector<std::optional<std::string>> seen_;
};

TEST_F(ClipboardWatchTest, ReportsNothingBeforeRegistering) {
    Copy("before");
    EXPECT_TRUE(seen_.empty());
}

TEST_F(ClipboardWatchTest, RegisteringReportsTheClipboardAtOnceThenEveryChange) {
    Copy("already there");
    watch_.Register();
    ASSERT_EQ(seen_.size(), 1u);
    EXPECT_EQ(seen_[0], "already there");
    Copy(QString::fromUtf8("中文"));
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[1], "中文");
}

TEST_F(ClipboardWatchTest, UnregisteredWatchStaysQuiet) {
    watch_.Register();
    watch_.Unregister();
    Copy("after");
    EXPECT_EQ(seen_.size(), 1u);
    EXPECT_FALSE(watch_.IsRegistered());
}

TEST_F(ClipboardWatchTest, ImageOnTheClipboardHasNoText) {
    watch_.Register();
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(image);
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_FALSE(seen_[1].has_value());
}

} // namespace
} // namespace quorvex::platform
