#pragma once

#include "support/Reply.h"

#include <functional>

namespace quorvex::test_support {

// Processes the Qt application's events (and the calls workers hand over) until `condition`
// holds; false when `limit` passed first. For tests that run on the user-interface thread.
bool PumpUntil(const std::function<bool()>& condition, Milliseconds limit = Milliseconds{20000});

// Processes events for about `span`, for tests that check that something does NOT happen.
void PumpFor(Milliseconds span);

} // namespace quorvex::test_support
