#include "platform/TcpListener.h"

#include "platform/Poll.h"
#include "platform/SocketErrors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <unistd.h>

namespace quorvex::platform {

TcpListener::TcpListener(uint16_t port, int backlog)
    : descriptor_(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
    if (descriptor_ < 0)
        ThrowSocketError(errno);
    int on = 1;
    setsockopt(descriptor_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (bind(descriptor_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(descriptor_, backlog) != 0 ||
        getsockname(descriptor_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        int error = errno;
        ::close(descriptor_);
        ThrowSocketError(error);
    }
    port_ = ntohs(address.sin_port);
}

TcpListener::~TcpListener() {
    ::close(descriptor_);
}

std::optional<TcpSocket> TcpListener::Accept(Milliseconds wait) {
    if (!PollDescriptor(descriptor_, POLLIN, wait))
        return std::nullopt;
    int accepted = accept4(descriptor_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (accepted >= 0)
        return TcpSocket(accepted);
    // The connection may have gone again between the wake-up and the accept.
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ECONNABORTED || errno == EINTR)
        return std::nullopt;
    ThrowSocketError(errno);
}

} // namespace quorvex::platform
