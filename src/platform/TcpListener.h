#pragma once

#include "platform/Socket.h"

namespace quorvex::platform {

inline constexpr int kListenBacklog = 64;

// A TCP listener on the loopback address 127.0.0.1, for the stand-in and test servers.
class TcpListener {
public:
    // `port` 0 picks a free port; `backlog` is the length of the queue of unaccepted connections.
    explicit TcpListener(uint16_t port = 0, int backlog = kListenBacklog);
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    uint16_t Port() const { return port_; }

    // Waits up to `wait` for a connection; nothing when none came.
    std::optional<TcpSocket> Accept(Milliseconds wait);

private:
    int descriptor_;
    uint16_t port_ = 0;
};

} // namespace quorvex::platform
