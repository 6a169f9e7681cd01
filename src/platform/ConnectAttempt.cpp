#include "platform/ConnectAttempt.h"

#include "platform/Poll.h"
#include "platform/SocketErrors.h"

#include <cerrno>
#include <cstring>
#include <sys/eventfd.h>
#include <unistd.h>

namespace quorvex::platform {

ConnectAttempt::ConnectAttempt(std::vector<SocketAddress> addresses)
    : addresses_(std::move(addresses))
    , cancelEvent_(eventfd(0, EFD_CLOEXEC)) {
    if (cancelEvent_ < 0)
        ThrowSocketError(errno);
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (...) {
        // The destructor does not run for a half-made attempt; the descriptor must not leak.
        ::close(cancelEvent_);
        throw;
    }
}

ConnectAttempt::~ConnectAttempt() {
    uint64_t one = 1;
    // Wakes the attempt's thread if it still waits; a full counter already means "cancel".
    [[maybe_unused]] ssize_t written = write(cancelEvent_, &one, sizeof one);
    thread_.join();
    ::close(cancelEvent_);
}

bool ConnectAttempt::Wait(Milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (wait < Milliseconds::zero()) {
        finishedChanged_.wait(lock, [this] { return finished_; });
        return true;
    }
    return finishedChanged_.wait_for(lock, wait, [this] { return finished_; });
}

TcpSocket ConnectAttempt::Take() {
    std::lock_guard lock(mutex_);
    if (!socket_.IsOpen())
        throw EConnectError(error_, std::strerror(error_));
    return std::move(socket_);
}

void ConnectAttempt::Run() {
    int error = EADDRNOTAVAIL; // the error when there is no address at all
    for (const SocketAddress& address : addresses_) {
        TcpSocket connected;
        error = TryAddress(address, connected);
        if (error == 0 || error == ECANCELED) {
            Finish(std::move(connected), error);
            return;
        }
    }
    Finish(TcpSocket(), error);
}

// Connects to one address; returns 0 with `connected` set, or the errno value of the failure.
int ConnectAttempt::TryAddress(const SocketAddress& address, TcpSocket& connected) {
    TcpSocket socket(
        ::socket(address.Storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.IsOpen())
        return errno;
    const int descriptor = socket.Descriptor();
    if (connect(descriptor, reinterpret_cast<const sockaddr*>(&address.Storage), address.Length) !=
        0) {
        if (errno != EINPROGRESS && errno != EINTR)
            return errno;
        pollfd waits[] = {{descriptor, POLLOUT, 0}, {cancelEvent_, POLLIN, 0}};
        try {
            PollDescriptors(waits, 2, kNoTimeout);
        } catch (const ESocketError& failure) {
            // A failure must end the attempt, not escape its thread and end the program.
            return failure.Code();
        }
        if (waits[1].revents != 0)
            return ECANCELED;
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            return errno;
        if (error != 0)
            return error;
    }
    connected = std::move(socket);
    return 0;
}

void ConnectAttempt::Finish(TcpSocket socket, int error) {
    std::lock_guard lock(mutex_);
    socket_ = std::move(socket);
    error_ = error;
    finished_ = true;
    finishedChanged_.notify_all();
}

} // namespace quorvex::platform
