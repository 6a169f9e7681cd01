#include "support/TlsFront.h"

#include "platform/Exception.h"
#include "platform/Poll.h"

#include <array>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>

namespace quorvex::test_support {
namespace {

constexpr platform::Milliseconds kStopCheck{50};
constexpr platform::Milliseconds kBackendConnectLimit{5000};
constexpr size_t kBlock = 16384;

using SslPointer = std::unique_ptr<SSL, decltype(&SSL_free)>;

// Runs an OpenSSL call on the non-blocking socket until it completes, waiting for the socket
// as OpenSSL asks. The call's result; 0 or less when the connection ended or the front stops.
template <typename Call>
int Complete(SSL* ssl, int descriptor, const std::atomic<bool>& stopping, const Call& call) {
    while (!stopping) {
        const int result = call();
        if (result > 0)
            return result;
        const int error = SSL_get_error(ssl, result);
        if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE)
            return 0;
        platform::PollDescriptor(descriptor, error == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT,
                                 kStopCheck);
    }
    return 0;
}

bool WriteAll(SSL* ssl, int descriptor, const std::atomic<bool>& stopping, const char* data,
              size_t size) {
    for (size_t sent = 0; sent < size;) {
        const int count = Complete(ssl, descriptor, stopping, [&] {
            return SSL_write(ssl, data + sent, static_cast<int>(size - sent));
        });
        if (count <= 0)
            return false;
        sent += static_cast<size_t>(count);
    }
    return true;
}

} // namespace

TlsFront::TlsFront(uint16_t backendPort, const std::string& certificateFile,
                   const std::string& keyFile)
    : backendPort_(backendPort)
    , context_(SSL_CTX_new(TLS_server_method())) {
    if (context_ == nullptr ||
        SSL_CTX_use_certificate_chain_file(context_, certificateFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context_, keyFile.c_str(), SSL_FILETYPE_PEM) != 1)
        throw Exception("cannot load the test server's certificate " + certificateFile);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

TlsFront::~TlsFront() {
    stopping_ = true;
    acceptor_.join();
    for (std::thread& relay : relays_)
        relay.join();
    SSL_CTX_free(context_);
}

void TlsFront::AcceptLoop() {
    while (!stopping_) {
        std::optional<platform::TcpSocket> client = listener_.Accept(kStopCheck);
        if (!client)
            continue;
        std::lock_guard lock(relaysMutex_);
        relays_.emplace_back(
            [this, socket = std::move(*client)]() mutable { Relay(std::move(socket)); });
    }
}

void TlsFront::Relay(platform::TcpSocket client) {
    const SslPointer ssl(SSL_new(context_), SSL_free);
    const int descriptor = client.Descriptor();
    // The session tickets go out after the handshake in a write of their own; with Nagle's
    // rule on, the reply would wait behind them for the client's delayed acknowledgement.
    const int noDelay = 1;
    setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    SSL_set_fd(ssl.get(), descriptor);
    if (Complete(ssl.get(), descriptor, stopping_, [&] { return SSL_accept(ssl.get()); }) <= 0)
        return; // a client that gave up on the certificate: nothing to relay
    ++handshakes_;
    try {
        platform::TcpSocket backend =
            platform::Connect("127.0.0.1", backendPort_, {}, kBackendConnectLimit);
        std::array<char, kBlock> buffer;
        while (!stopping_) {
            if (SSL_pending(ssl.get()) == 0) {
                std::array<pollfd, 2> both{
                    {{descriptor, POLLIN, 0}, {backend.Descriptor(), POLLIN, 0}}};
                if (!platform::PollDescriptors(both.data(), both.size(), kStopCheck))
                    continue;
            }
            const int read = SSL_read(ssl.get(), buffer.data(), static_cast<int>(buffer.size()));
            if (read > 0)
                backend.SendAll({buffer.data(), static_cast<size_t>(read)});
            else if (SSL_get_error(ssl.get(), read) != SSL_ERROR_WANT_READ)
                return;
            if (const auto count = backend.Receive(buffer.data(), buffer.size(), {})) {
                if (*count == 0 ||
                    !WriteAll(ssl.get(), descriptor, stopping_, buffer.data(), *count))
                    return;
            }
        }
    } catch (const Exception&) {
        // The backend went away mid-exchange; the client sees its connection close.
    }
}

} // namespace quorvex::test_support
