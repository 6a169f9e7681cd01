#include "app/SlideUp.h"

#include <QWidget>
#include <algorithm>

namespace quorvex {

TSlideUp::TSlideUp(QWidget& window)
    : QObject(&window)
    , window_(window) {
    steps_.setInterval(kStepMilliseconds);
    connect(&steps_, &QTimer::timeout, this, &TSlideUp::Step);
}

void TSlideUp::Start(int from, int edge, int rowsLeft, std::function<bool()> stop) {
    from_ = from;
    edge_ = edge;
    rowsLeft_ = rowsLeft;
    stop_ = std::move(stop);
    sinceStart_.start();
    Step();
    steps_.start();
}

void TSlideUp::Step() {
    if (stop_()) {
        steps_.stop();
        return;
    }
    // The height is read at each step: a window manager may put its frame on meanwhile.
    const int height = window_.frameGeometry().height();
    const int end = edge_ + rowsLeft_ - height;
    const qint64 travelled = sinceStart_.elapsed() * height / kFullHeightMilliseconds;
    const int top = static_cast<int>(std::max<qint64>(from_ - travelled, end));
    window_.move(window_.frameGeometry().left(), top);
    if (top != end)
        return;
    steps_.stop();
    if (OnFinished)
        OnFinished();
}

} // namespace quorvex
