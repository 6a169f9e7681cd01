#pragma once

#include <QWidget>
#include <functional>

namespace quorvex {

// A thin bar along the top edge of the screen that stands in for a docked window that slid
// away, where the window manager keeps part of every window on screen: the window is hidden
// instead, and the bar, which no window manager moves or frames, brings it back when the
// pointer comes onto it.
class TDockStrip : public QWidget {
public:
    explicit TDockStrip(QWidget& window);

    // Shows the bar over `place` (screen coordinates).
    void ShowAt(const QRect& place);

    std::function<void()> OnPointerEnter;

protected:
    void enterEvent(QEnterEvent* event) override;
};

} // namespace quorvex
