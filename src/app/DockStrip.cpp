#include "app/DockStrip.h"

namespace quorvex {

TDockStrip::TDockStrip(QWidget& window)
    : QWidget(&window, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus) {
    // The bar has the colour of the window whose lowest rows it stands for.
    setAutoFillBackground(true);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void TDockStrip::ShowAt(const QRect& place) {
    setGeometry(place);
    show();
    raise();
}

void TDockStrip::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (OnPointerEnter)
        OnPointerEnter();
}

} // namespace quorvex
