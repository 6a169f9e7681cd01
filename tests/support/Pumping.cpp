#include "support/Pumping.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

namespace quorvex::test_support {
namespace {

inline constexpr Milliseconds kPumpSlice{5};

void PumpOnce() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(kPumpSlice.count()));
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace

bool PumpUntil(const std::function<bool()>& condition, Milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        PumpOnce();
    }
    return true;
}

void PumpFor(Milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end)
        PumpOnce();
}

} // namespace quorvex::test_support
