#include "support/PendingConnectTarget.h"

#include "platform/Exception.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace quorvex::test_support {
namespace {

// A queue of length 0 still holds a connection or so; a handful always fills it.
constexpr int kMaxFillers = 16;
// A filler that has not connected within this time shows that the queue is full.
constexpr platform::Milliseconds kFillerWait{1000};

platform::SocketAddress LoopbackAddress(uint16_t port) {
    platform::SocketAddress address;
    auto* ipv4 = reinterpret_cast<sockaddr_in*>(&address.Storage);
    ipv4->sin_family = AF_INET;
    ipv4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ipv4->sin_port = htons(port);
    address.Length = sizeof(sockaddr_in);
    return address;
}

} // namespace

PendingConnectTarget::PendingConnectTarget()
    : listener_(0, 0) {
    for (int i = 0; i < kMaxFillers; ++i) {
        auto filler = std::make_unique<platform::ConnectAttempt>(
            std::vector<platform::SocketAddress>{LoopbackAddress(Port())});
        bool finished = filler->Wait(kFillerWait);
        fillers_.push_back(std::move(filler));
        if (!finished)
            return;
    }
    throw Exception("the listen queue did not fill up");
}

std::string PendingConnectTarget::Url(std::string_view target) const {
    return "http://127.0.0.1:" + std::to_string(Port()) + std::string(target);
}

} // namespace quorvex::test_support
