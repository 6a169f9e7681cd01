#pragma once

#include "platform/Socket.h"

namespace quorvex::platform {

// A non-blocking connection attempt that the caller waits for in short steps. The addresses are
// tried in order; destroying the attempt cancels it. It needs no thread of its own: the kernel
// carries the handshake on while the caller waits or handles its messages.
class ConnectAttempt {
public:
    explicit ConnectAttempt(std::vector<SocketAddress> addresses);

    // Waits at most `wait` (kNoTimeout: without limit) for the attempt to end; true when it has.
    bool Wait(Milliseconds wait);

    // The connected socket of a finished attempt; raises EConnectError when it failed.
    TcpSocket Take();

private:
    bool Finished() const { return connected_ || !socket_.IsOpen(); }
    // Starts the next addresses until one connects or is pending; none left ends the attempt.
    void StartNextAddress();
    // Takes the outcome of the pending connect, which reported being ready.
    void CompletePending();

    std::vector<SocketAddress> addresses_;
    size_t nextAddress_ = 0;
    TcpSocket socket_; // the pending or connected socket
    bool connected_ = false;
    int error_ = EADDRNOTAVAIL; // the error when there is no address at all
};

} // namespace quorvex::platform
