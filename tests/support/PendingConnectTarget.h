#pragma once

#include "platform/ConnectAttempt.h"
#include "platform/TcpListener.h"

#include <memory>

namespace quorvex::test_support {

// A loopback port where a new connection attempt neither succeeds nor fails: a listener that
// never accepts, its queue filled with connections of our own, so the kernel drops further
// handshakes and the caller's attempt stays pending.
class PendingConnectTarget {
public:
    PendingConnectTarget();

    uint16_t Port() const { return listener_.Port(); }
    std::string Url(std::string_view target) const;

private:
    platform::TcpListener listener_;
    std::vector<std::unique_ptr<platform::ConnectAttempt>> fillers_;
};

} // namespace quorvex::test_support
