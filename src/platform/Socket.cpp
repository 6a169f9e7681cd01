#include "platform/Socket.h"

#include "platform/ConnectAttempt.h"
#include "platform/HostLookup.h"
#include "platform/Poll.h"
#include "platform/SocketErrors.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <unistd.h>
#include <utility>

namespace quorvex::platform {
namespace {

using Clock = std::chrono::steady_clock;

// Time left until `deadline`, or kNoTimeout when there is none.
Milliseconds TimeLeft(std::optional<Clock::time_point> deadline) {
    if (!deadline)
        return kNoTimeout;
    auto left = std::chrono::ceil<Milliseconds>(*deadline - Clock::now());
    return std::max(left, Milliseconds::zero());
}

std::optional<Clock::time_point> DeadlineAfter(Milliseconds limit) {
    if (limit < Milliseconds::zero())
        return std::nullopt;
    return Clock::now() + limit;
}

// The next step: the step size, cut to what is left before the deadline.
Milliseconds NextStep(const StepWait& steps, std::optional<Clock::time_point> deadline) {
    Milliseconds left = TimeLeft(deadline);
    if (steps.Step < Milliseconds::zero() || !steps.AfterStep)
        return left;
    return left < Milliseconds::zero() ? steps.Step : std::min(steps.Step, left);
}

void RunAfterStep(const StepWait& steps, bool ready) {
    if (steps.AfterStep)
        steps.AfterStep(ready);
}

} // namespace

std::vector<SocketAddress> ResolveHost(const std::string& host, uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    int result = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (result != 0)
        throw EConnectError(result, std::string(gai_strerror(result)) + " (" + host + ")");
    std::vector<SocketAddress> addresses;
    for (addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        SocketAddress address;
        std::memcpy(&address.Storage, entry->ai_addr, entry->ai_addrlen);
        address.Length = entry->ai_addrlen;
        addresses.push_back(address);
    }
    freeaddrinfo(found);
    return addresses;
}

TcpSocket::~TcpSocket() {
    Close();
}

TcpSocket::TcpSocket(TcpSocket&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

void TcpSocket::Close() {
    if (descriptor_ >= 0)
        ::close(std::exchange(descriptor_, -1));
}

int TcpSocket::Descriptor() const {
    if (descriptor_ < 0)
        throw ENotConnected();
    return descriptor_;
}

bool TcpSocket::WaitReady(short events, Milliseconds wait) const {
    return PollDescriptor(Descriptor(), events, wait);
}

std::optional<size_t> TcpSocket::Receive(char* buffer, size_t size, Milliseconds wait) {
    // Try first: while data streams in, this saves a poll per call.
    for (bool waited = false;; waited = true) {
        ssize_t count = recv(Descriptor(), buffer, size, MSG_DONTWAIT);
        if (count >= 0)
            return static_cast<size_t>(count);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            ThrowSocketError(errno);
        if (waited || !WaitReady(POLLIN, wait))
            return std::nullopt;
    }
}

size_t TcpSocket::ReceiveSome(char* buffer, size_t size, const StepWait& steps,
                              Milliseconds timeout) {
    const auto deadline = DeadlineAfter(timeout);
    for (;;) {
        std::optional<size_t> count = Receive(buffer, size, NextStep(steps, deadline));
        RunAfterStep(steps, count.has_value());
        if (count)
            return *count;
        if (deadline && Clock::now() >= *deadline)
            throw EReadTimeout();
    }
}

void TcpSocket::SendAll(std::string_view bytes, const StepWait& steps) {
    while (!bytes.empty()) {
        size_t piece = std::min(bytes.size(), kSocketBufferSize);
        ssize_t sent = send(Descriptor(), bytes.data(), piece, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0) {
            bytes.remove_prefix(static_cast<size_t>(sent));
            RunAfterStep(steps, true);
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            ThrowSocketError(errno);
        bool ready = WaitReady(POLLOUT, NextStep(steps, std::nullopt));
        RunAfterStep(steps, ready);
    }
}

bool TcpSocket::PeerClosedWhileIdle() const {
    return WaitReady(POLLIN, Milliseconds::zero());
}

std::vector<SocketAddress> ResolveHost(const std::string& host, uint16_t port,
                                       const StepWait& steps) {
    HostLookup lookup(host, port);
    for (;;) {
        const bool finished = lookup.Wait(NextStep(steps, std::nullopt));
        RunAfterStep(steps, finished);
        if (finished)
            return lookup.Take();
    }
}

TcpSocket Connect(const std::string& host, uint16_t port, const StepWait& steps,
                  Milliseconds limit) {
    ConnectAttempt attempt(ResolveHost(host, port, steps));
    const auto deadline = DeadlineAfter(limit);
    for (;;) {
        bool finished = attempt.Wait(NextStep(steps, deadline));
        RunAfterStep(steps, finished);
        if (finished)
            return attempt.Take();
        if (deadline && Clock::now() >= *deadline)
            throw EConnectTimeout(); // the attempt's destructor closes its socket
    }
}

} // namespace quorvex::platform
