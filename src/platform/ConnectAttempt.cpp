#include "platform/ConnectAttempt.h"

#include "platform/Poll.h"
#include "platform/SocketErrors.h"

#include <cerrno>
#include <cstring>

namespace quorvex::platform {

ConnectAttempt::ConnectAttempt(std::vector<SocketAddress> addresses)
    : addresses_(std::move(addresses)) {
    StartNextAddress();
}

bool ConnectAttempt::Wait(Milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::max(wait, Milliseconds::zero());
    while (!Finished()) {
        Milliseconds left = kNoTimeout;
        if (wait >= Milliseconds::zero()) {
            left = std::max(std::chrono::ceil<Milliseconds>(deadline - Clock::now()),
                            Milliseconds::zero());
        }
        if (!PollDescriptor(socket_.Descriptor(), POLLOUT, left))
            return false;
        CompletePending();
    }
    return true;
}

TcpSocket ConnectAttempt::Take() {
    if (!connected_)
        throw EConnectError(error_, std::strerror(error_));
    connected_ = false;
    return std::move(socket_);
}

void ConnectAttempt::StartNextAddress() {
    socket_.Close();
    while (nextAddress_ < addresses_.size()) {
        const SocketAddress& address = addresses_[nextAddress_++];
        TcpSocket socket(
            ::socket(address.Storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (!socket.IsOpen()) {
            error_ = errno;
            continue;
        }
        if (connect(socket.Descriptor(), reinterpret_cast<const sockaddr*>(&address.Storage),
                    address.Length) == 0) {
            socket_ = std::move(socket);
            connected_ = true;
            return;
        }
        // An interrupted connect goes on in the background, like one in progress.
        if (errno == EINPROGRESS || errno == EINTR) {
            socket_ = std::move(socket);
            return;
        }
        error_ = errno;
    }
}

void ConnectAttempt::CompletePending() {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(socket_.Descriptor(), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == 0) {
        connected_ = true;
        return;
    }
    error_ = error;
    StartNextAddress();
}

} // namespace quorvex::platform
