#pragma once

#include "platform/Socket.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace quorvex::platform {

// A connection attempt on a short-lived thread of its own, so that the caller can wait for it
// in short steps. The addresses are tried in order; destroying the attempt cancels it.
class ConnectAttempt {
public:
    explicit ConnectAttempt(std::vector<SocketAddress> addresses);
    ~ConnectAttempt();
    ConnectAttempt(const ConnectAttempt&) = delete;
    ConnectAttempt& operator=(const ConnectAttempt&) = delete;

    // Waits at most `wait` for the attempt to end; true when it has.
    bool Wait(Milliseconds wait);

    // The connected socket of a finished attempt; raises EConnectError when it failed.
    TcpSocket Take();

private:
    void Run();
    int TryAddress(const SocketAddress& address, TcpSocket& connected);
    void Finish(TcpSocket socket, int error);

    std::vector<SocketAddress> addresses_;
    int cancelEvent_;
    std::mutex mutex_;
    std::condition_variable finishedChanged_;
    bool finished_ = false;
    TcpSocket socket_;
    int error_ = 0;
    std::thread thread_;
};

} // namespace quorvex::platform
