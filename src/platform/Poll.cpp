#include "platform/Poll.h"

#include "platform/SocketErrors.h"

#include <cerrno>

namespace quorvex::platform {

bool PollDescriptors(pollfd* descriptors, size_t count, Milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    const bool unlimited = wait < Milliseconds::zero();
    const Clock::time_point deadline = Clock::now() + (unlimited ? Milliseconds::zero() : wait);
    for (;;) {
        int timeout = -1;
        if (!unlimited) {
            auto left = std::chrono::ceil<Milliseconds>(deadline - Clock::now());
            timeout = static_cast<int>(std::max<Milliseconds::rep>(left.count(), 0));
        }
        int result = poll(descriptors, count, timeout);
        if (result >= 0)
            return result > 0;
        if (errno != EINTR)
            ThrowSocketError(errno);
    }
}

bool PollDescriptor(int descriptor, short events, Milliseconds wait) {
    pollfd entry{descriptor, events, 0};
    return PollDescriptors(&entry, 1, wait);
}

} // namespace quorvex::platform
