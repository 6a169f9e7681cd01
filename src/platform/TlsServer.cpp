#include "platform/TlsServer.h"

#include "platform/Exception.h"
#include "platform/Poll.h"
#include "platform/SigpipeBlock.h"

#include <array>
#include <climits>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>

namespace quorvex::platform {
namespace {

// The reason OpenSSL queued last, with `what` in front; the queue is emptied.
std::string TlsError(const std::string& what) {
    std::string message = what;
    if (const unsigned long code = ERR_get_error(); code != 0) {
        std::array<char, 256> text{};
        ERR_error_string_n(code, text.data(), text.size());
        message += ": " + std::string(text.data());
    }
    ERR_clear_error();
    return message;
}

void WaitStep(int descriptor, short events, const StepWait& steps) {
    const bool ready = PollDescriptor(descriptor, events, steps.Step);
    if (steps.AfterStep)
        steps.AfterStep(ready);
}

} // namespace

TlsServerContext::TlsServerContext(const std::string& certificateFile, const std::string& keyFile)
    : context_(SSL_CTX_new(TLS_server_method())) {
    if (context_ == nullptr)
        throw Exception(TlsError("cannot create a TLS server context"));
    if (SSL_CTX_use_certificate_chain_file(context_, certificateFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context_, keyFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_check_private_key(context_) != 1) {
        const std::string reason =
            TlsError("cannot use the certificate " + certificateFile + " with the key " + keyFile);
        SSL_CTX_free(context_);
        throw Exception(reason);
    }
}

TlsServerContext::~TlsServerContext() {
    SSL_CTX_free(context_);
}

TlsServerStream::TlsServerStream(const TlsServerContext& context, TcpSocket& socket,
                                 const StepWait& steps)
    : socket_(socket)
    , connection_(SSL_new(context.context_)) {
    if (connection_ == nullptr || SSL_set_fd(connection_, socket.Descriptor()) != 1) {
        SSL_free(connection_);
        throw Exception(TlsError("cannot start TLS on a connection"));
    }
    // The session tickets follow the handshake in a write of their own; with Nagle's rule on,
    // the first reply would wait behind them for the client's delayed acknowledgement (40 ms).
    const int noDelay = 1;
    setsockopt(socket.Descriptor(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    try {
        if (Complete([this] { return SSL_accept(connection_); }, steps) == 0)
            throw Exception("the client closed the connection during the TLS handshake");
    } catch (...) {
        SSL_free(connection_);
        throw;
    }
}

TlsServerStream::~TlsServerStream() {
    SSL_shutdown(connection_); // one close-notify, without waiting for the client's
    SSL_free(connection_);
}

template <typename Operation>
int TlsServerStream::Complete(Operation operation, const StepWait& steps) {
    while (true) {
        const int result = operation();
        if (result > 0)
            return result;
        switch (SSL_get_error(connection_, result)) {
        case SSL_ERROR_WANT_READ:
            WaitStep(socket_.Descriptor(), POLLIN, steps);
            break;
        case SSL_ERROR_WANT_WRITE:
            WaitStep(socket_.Descriptor(), POLLOUT, steps);
            break;
        case SSL_ERROR_ZERO_RETURN:
            return 0;
        case SSL_ERROR_SYSCALL:
            if (ERR_peek_error() == 0)
                return 0; // the client went away without a close-notify
            [[fallthrough]];
        default:
            throw Exception(TlsError("TLS failed on a connection"));
        }
    }
}

size_t TlsServerStream::ReceiveSome(char* buffer, size_t size, const StepWait& steps) {
    const int bounded = static_cast<int>(std::min<size_t>(size, INT_MAX));
    return static_cast<size_t>(
        Complete([&] { return SSL_read(connection_, buffer, bounded); }, steps));
}

void TlsServerStream::SendAll(std::string_view bytes, const StepWait& steps) {
    const SigpipeBlock clientMayHaveGone;
    while (!bytes.empty()) {
        const int piece = static_cast<int>(std::min(bytes.size(), kSocketBufferSize));
        const int sent =
            Complete([&] { return SSL_write(connection_, bytes.data(), piece); }, steps);
        if (sent == 0)
            throw Exception("the client closed the TLS connection before the reply was sent");
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
}

} // namespace quorvex::platform
