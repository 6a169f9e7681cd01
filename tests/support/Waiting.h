#pragma once

#include "support/LoopbackHttpServer.h"

namespace quorvex::test_support {

// Polls `condition` every few milliseconds until it holds; false when `limit` passed first.
bool PollUntil(const std::function<bool()>& condition, Milliseconds limit = kServerWaitLimit);

} // namespace quorvex::test_support
