#pragma once

#include "platform/TcpListener.h"

#include <atomic>
#include <list>
#include <mutex>
#include <string>
#include <thread>

using SSL_CTX = struct ssl_ctx_st;

namespace quorvex::test_support {

// Speaks TLS on a loopback port and relays the plain bytes of each connection to a plain HTTP
// server at `backendPort`, one backend connection per TLS connection: the backend's keep-alive
// is the client's, and its scripted replies (pauses included) go out as they are.
class TlsFront {
public:
    TlsFront(uint16_t backendPort, const std::string& certificateFile, const std::string& keyFile);
    ~TlsFront();
    TlsFront(const TlsFront&) = delete;
    TlsFront& operator=(const TlsFront&) = delete;

    uint16_t Port() const { return listener_.Port(); }
    // TLS handshakes completed so far: one per connection a client opened and kept.
    size_t Handshakes() const { return handshakes_; }

private:
    void AcceptLoop();
    void Relay(platform::TcpSocket client);

    uint16_t backendPort_;
    SSL_CTX* context_;
    platform::TcpListener listener_;
    std::atomic<bool> stopping_{false};
    std::atomic<size_t> handshakes_{0};
    std::mutex relaysMutex_;
    std::list<std::thread> relays_;
    std::thread acceptor_;
};

} // namespace quorvex::test_support
