#include "app/LinkLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace quorvex {

TLinkLabel::TLinkLabel(const QString& caption, QWidget* parent)
    : QLabel(caption, parent) {
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void TLinkLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), alignment(), palette(), isEnabled(), text(),
                          foregroundRole());
    if (!hasFocus())
        return;
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QLabel::mouseReleaseEvent(event);
    Click();
}

void TLinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Click();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void TLinkLabel::Click() {
    if (OnClick)
        OnClick();
}

} // namespace quorvex
