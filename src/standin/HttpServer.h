#pragma once

#include "http/HttpRequest.h"
#include "platform/TcpListener.h"
#include "platform/TlsServer.h"

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace quorvex {

// How often the server's threads look whether it is stopping.
inline constexpr platform::Milliseconds kServerStopCheckInterval{50};

// Raised inside a connection's thread when the server stops, to leave it.
class EServerStopping : public Exception {
public:
    EServerStopping()
        : Exception("The server is stopping") {}
};

// The connection a responder writes its reply to.
class TServerConnection {
public:
    TServerConnection(platform::TcpSocket& socket, const std::atomic<bool>& stopping);

    // From here on the connection speaks TLS with `context`: the handshake happens now.
    void StartTls(const platform::TlsServerContext& context);
    // At least one byte of the request side, or 0 when the client closed.
    size_t ReceiveSome(char* buffer, size_t size);
    void Send(std::string_view bytes);
    // Pauses; raises EServerStopping when the server stops meanwhile.
    void Pause(platform::Milliseconds pause);

private:
    platform::TcpSocket& socket_;
    const std::atomic<bool>& stopping_;
    platform::StepWait steps_;
    std::unique_ptr<platform::TlsServerStream> tls_;
};

// An HTTP server on 127.0.0.1 with a thread per connection, from construction until Stop or
// destruction; HTTPS when given a TLS context. A request that cannot be read is answered with
// 400 and the connection closed.
class THttpServer {
public:
    // Writes the reply to `request`; returns true to read the next request from the connection.
    using Responder = std::function<bool(const THttpRequest&, TServerConnection&)>;

    explicit THttpServer(Responder responder, uint16_t port = 0,
                         std::shared_ptr<const platform::TlsServerContext> tls = {});
    ~THttpServer();
    THttpServer(const THttpServer&) = delete;
    THttpServer& operator=(const THttpServer&) = delete;

    uint16_t Port() const { return listener_.Port(); }
    // Connections accepted so far.
    size_t ConnectionCount() const { return accepted_; }
    // Stops accepting and ends every connection; a responder that uses its owner's members is
    // stopped with this before those members go.
    void Stop();

private:
    struct Connection {
        std::thread Thread;
        std::atomic<bool> Finished{false};
    };

    void AcceptLoop();
    void JoinFinished(bool all);
    void Serve(platform::TcpSocket socket);

    Responder responder_;
    std::shared_ptr<const platform::TlsServerContext> tls_;
    platform::TcpListener listener_;
    std::atomic<bool> stopping_{false};
    std::atomic<size_t> accepted_{0};
    std::mutex connectionsMutex_;
    std::list<Connection> connections_;
    std::thread acceptor_;
};

} // namespace quorvex
