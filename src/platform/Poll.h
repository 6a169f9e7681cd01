#pragma once

#include "platform/Socket.h"

#include <poll.h>

namespace quorvex::platform {

// Waits up to `wait` (kNoTimeout: without limit) until one of `descriptors` reports an event,
// retrying after signals. Returns false when the wait ran out.
bool PollDescriptors(pollfd* descriptors, size_t count, Milliseconds wait);

// The same for one descriptor and `events`.
bool PollDescriptor(int descriptor, short events, Milliseconds wait);

} // namespace quorvex::platform
