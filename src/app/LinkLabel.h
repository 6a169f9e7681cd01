#pragma once

#include <QLabel>
#include <functional>

namespace quorvex {

// An underlined label that opens something: clicked with the left button, or reached with Tab
// and pressed with Space or Enter. It paints its text itself, as a plain label does: a
// focusable QLabel lays its text out as a document instead, a row lower, which puts the
// underline below the label's last row.
class TLinkLabel : public QLabel {
public:
    TLinkLabel(const QString& caption, QWidget* parent);

    std::function<void()> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Click();
};

} // namespace quorvex
