#pragma once

#include "platform/TcpListener.h"

#include <atomic>
#include <thread>
#include <vector>

namespace quorvex::test_support {

// A loopback service that accepts every connection and never answers: each request waits for
// ever, as on a half-open connection. Connections stay open until the server goes away.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    // "127.0.0.1:<port>"
    std::string Host() const;
    size_t ConnectionCount() const { return connections_; }

private:
    void AcceptUntilStopped();

    platform::TcpListener listener_;
    std::atomic<bool> stopping_{false};
    std::atomic<size_t> connections_{0};
    std::vector<platform::TcpSocket> held_; // only the accepting thread touches it
    std::thread acceptor_;
};

} // namespace quorvex::test_support
