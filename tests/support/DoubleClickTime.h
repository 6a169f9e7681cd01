#pragma once

#include <QGuiApplication>
#include <QStyleHints>

namespace quorvex::test_support {

// The double-click time of the desktop, set for a test and put back afterwards.
class ScopedDoubleClickTime {
public:
    explicit ScopedDoubleClickTime(int milliseconds)
        : saved_(QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(milliseconds);
    }
    ~ScopedDoubleClickTime() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(saved_); }
    ScopedDoubleClickTime(const ScopedDoubleClickTime&) = delete;
    ScopedDoubleClickTime& operator=(const ScopedDoubleClickTime&) = delete;

private:
    int saved_;
};

} // namespace quorvex::test_support
