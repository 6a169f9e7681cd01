#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <vector>

namespace quorvex::platform {

using Milliseconds = std::chrono::milliseconds;

// Size of one receive or send call, like the connection buffers of the Windows original.
inline constexpr size_t kSocketBufferSize = 32768;
// A wait or time-out of this value has no limit.
inline constexpr Milliseconds kNoTimeout{-1};

// How a blocking operation is cut into short waits: `AfterStep` runs after each wait (with
// `ready` true when the wait ended because the socket was ready), so a caller can keep its
// window alive. An empty `AfterStep` makes the steps one plain blocking wait.
struct StepWait {
    Milliseconds Step{kNoTimeout};
    std::function<void(bool ready)> AfterStep;
};

// One address that a host name resolved to.
struct SocketAddress {
    sockaddr_storage Storage{};
    socklen_t Length = 0;
};

// Resolves `host` for TCP (blocking); raises EConnectError when it cannot be resolved.
std::vector<SocketAddress> ResolveHost(const std::string& host, uint16_t port);
// Resolves `host` for TCP on a thread of its own, waiting for the answer in `steps` (a step
// that raises abandons the lookup); raises EConnectError when it cannot be resolved.
std::vector<SocketAddress> ResolveHost(const std::string& host, uint16_t port,
                                       const StepWait& steps);

// An open, non-blocking TCP socket; closing happens on destruction.
class TcpSocket {
public:
    TcpSocket() = default;
    explicit TcpSocket(int descriptor)
        : descriptor_(descriptor) {}
    ~TcpSocket();
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }
    // The descriptor of an open socket; raises ENotConnected when it is closed.
    int Descriptor() const;
    void Close();

    // Waits up to `wait` for data; nothing when none came, 0 when the peer closed, else the
    // number of bytes placed in `buffer`.
    std::optional<size_t> Receive(char* buffer, size_t size, Milliseconds wait);

    // Receives at least one byte, or 0 at the peer's close, waiting in steps; raises
    // EReadTimeout when `timeout` passes with nothing.
    size_t ReceiveSome(char* buffer, size_t size, const StepWait& steps,
                       Milliseconds timeout = kNoTimeout);

    // Sends all of `bytes` in pieces of at most kSocketBufferSize, running the step hook
    // after each send call.
    void SendAll(std::string_view bytes, const StepWait& steps = {});

    // True when the peer has closed (or sent something unasked) while the socket sat idle.
    bool PeerClosedWhileIdle() const;

private:
    bool WaitReady(short events, Milliseconds wait) const;

    int descriptor_ = -1;
};

// Connects to `host`:`port`: the name lookup and then the non-blocking connection attempt are
// waited for in steps, the attempt for at most `limit`. Raises EConnectError when no address
// accepts and EConnectTimeout when the limit passes first.
TcpSocket Connect(const std::string& host, uint16_t port, const StepWait& steps,
                  Milliseconds limit);

} // namespace quorvex::platform
