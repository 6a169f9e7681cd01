#pragma once

#include "platform/Socket.h"

#include <string>
#include <string_view>

struct ssl_ctx_st;
struct ssl_st;

namespace quorvex::platform {

// The server side of TLS for the loopback servers: a certificate chain and its private key,
// loaded once and shared by every connection.
class TlsServerContext {
public:
    // Throws Exception naming the file when the certificate or the key cannot be loaded, or
    // when they do not belong together.
    TlsServerContext(const std::string& certificateFile, const std::string& keyFile);
    ~TlsServerContext();
    TlsServerContext(const TlsServerContext&) = delete;
    TlsServerContext& operator=(const TlsServerContext&) = delete;

private:
    friend class TlsServerStream;
    ssl_ctx_st* context_;
};

// One accepted connection spoken over TLS. Waits go in steps as the socket's own do.
class TlsServerStream {
public:
    // Completes the handshake; throws Exception when the client gives up on it (it does not
    // trust the certificate, or speaks no TLS).
    TlsServerStream(const TlsServerContext& context, TcpSocket& socket, const StepWait& steps);
    ~TlsServerStream();
    TlsServerStream(const TlsServerStream&) = delete;
    TlsServerStream& operator=(const TlsServerStream&) = delete;

    // At least one byte into `buffer`, or 0 when the client closed.
    size_t ReceiveSome(char* buffer, size_t size, const StepWait& steps);
    void SendAll(std::string_view bytes, const StepWait& steps);

private:
    // Runs `operation` (an SSL call) until it no longer wants to wait; its result, or 0 when
    // the connection ended cleanly.
    template <typename Operation> int Complete(Operation operation, const StepWait& steps);

    TcpSocket& socket_;
    ssl_st* connection_;
};

} // namespace quorvex::platform
