#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace quorvex {

// Slides a window's top edge upwards from one position to another, one step every few
// milliseconds, paced so that a slide over the window's whole height takes about a quarter
// of a second. It runs from the event loop, so the window keeps being served meanwhile.
class TSlideUp : public QObject {
public:
    inline static constexpr int kFullHeightMilliseconds = 250;
    inline static constexpr int kStepMilliseconds = 10;

    explicit TSlideUp(QWidget& window);

    // Slides from top `from` until only the lowest `rowsLeft` rows of the window are below
    // `edge`; before each step `stop` is asked whether to end the slide where it is.
    void Start(int from, int edge, int rowsLeft, std::function<bool()> stop);
    bool Running() const { return steps_.isActive(); }

    // Raised when a slide has reached its end (not when it was stopped).
    std::function<void()> OnFinished;

private:
    void Step();

    QWidget& window_;
    QTimer steps_;
    QElapsedTimer sinceStart_;
    int from_ = 0;
    int edge_ = 0;
    int rowsLeft_ = 0;
    std::function<bool()> stop_;
};

} // namespace quorvex
