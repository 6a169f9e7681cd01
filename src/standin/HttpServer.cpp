#include "standin/HttpServer.h"

#include "http/ByteReader.h"

namespace quorvex {
namespace {

void SendBadRequest(TServerConnection& connection, const std::string& why) {
    const std::string body = "Bad request: " + why + "\n";
    connection.Send("HTTP/1.0 400 Bad Request\r\nContent-Type: text/plain; charset=UTF-8\r\n"
                    "Content-Length: " +
                    std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
}

} // namespace

TServerConnection::TServerConnection(platform::TcpSocket& socket, const std::atomic<bool>& stopping)
    : socket_(socket)
    , stopping_(stopping)
    , steps_{kServerStopCheckInterval, [this](bool) {
                 if (stopping_)
                     throw EServerStopping();
             }} {}

void TServerConnection::StartTls(const platform::TlsServerContext& context) {
    tls_ = std::make_unique<platform::TlsServerStream>(context, socket_, steps_);
}

size_t TServerConnection::ReceiveSome(char* buffer, size_t size) {
    return tls_ ? tls_->ReceiveSome(buffer, size, steps_)
                : socket_.ReceiveSome(buffer, size, steps_);
}

void TServerConnection::Send(std::string_view bytes) {
    if (tls_)
        tls_->SendAll(bytes, steps_);
    else
        socket_.SendAll(bytes, steps_);
}

void TServerConnection::Pause(platform::Milliseconds pause) {
    const auto end = std::chrono::steady_clock::now() + pause;
    while (std::chrono::steady_clock::now() < end) {
        if (stopping_)
            throw EServerStopping();
        std::this_thread::sleep_for(std::min(kServerStopCheckInterval, pause));
    }
}

THttpServer::THttpServer(Responder responder, uint16_t port,
                         std::shared_ptr<const platform::TlsServerContext> tls)
    : responder_(std::move(responder))
    , tls_(std::move(tls))
    , listener_(port)
    , acceptor_([this] { AcceptLoop(); }) {}

THttpServer::~THttpServer() {
    Stop();
}

void THttpServer::Stop() {
    if (stopping_.exchange(true))
        return;
    acceptor_.join();
    JoinFinished(true); // no connection starts once the acceptor has ended
}

void THttpServer::AcceptLoop() {
    while (!stopping_) {
        std::optional<platform::TcpSocket> socket = listener_.Accept(kServerStopCheckInterval);
        JoinFinished(false);
        if (!socket)
            continue;
        ++accepted_;
        std::lock_guard lock(connectionsMutex_);
        Connection& connection = connections_.emplace_back();
        connection.Thread =
            std::thread([this, &connection, accepted = std::move(*socket)]() mutable {
                Serve(std::move(accepted));
                connection.Finished = true;
            });
    }
}

void THttpServer::JoinFinished(bool all) {
    std::lock_guard lock(connectionsMutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        if (all || it->Finished) {
            it->Thread.join();
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}

void THttpServer::Serve(platform::TcpSocket socket) {
    TServerConnection connection(socket, stopping_);
    TByteReader reader(
        [&](char* buffer, size_t size) { return connection.ReceiveSome(buffer, size); });
    try {
        if (tls_)
            connection.StartTls(*tls_);
        try {
            while (std::optional<THttpRequest> request = ReadRequest(reader)) {
                if (!responder_(*request, connection))
                    break;
            }
        } catch (const EBadRequest& failure) {
            SendBadRequest(connection, failure.what());
        } catch (const ELineTooLong& failure) {
            SendBadRequest(connection, failure.what());
        }
    } catch (const Exception&) {
        // The server stops, the client went away mid-exchange or gave up on the TLS handshake;
        // the connection just closes.
    }
}

} // namespace quorvex
