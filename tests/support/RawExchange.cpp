#include "support/RawExchange.h"

#include "platform/Socket.h"
#include "support/LoopbackHttpServer.h"

namespace quorvex::test_support {

std::string ExchangeRaw(uint16_t port, const std::string& request) {
    platform::TcpSocket socket = platform::Connect("127.0.0.1", port, {}, kServerWaitLimit);
    socket.SendAll(request);
    std::string received;
    char buffer[4096];
    while (size_t count = socket.ReceiveSome(buffer, sizeof buffer, {}, kServerWaitLimit))
        received.append(buffer, count);
    return received;
}

} // namespace quorvex::test_support
