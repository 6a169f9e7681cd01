#include "platform/LineConnection.h"

#include "platform/SocketErrors.h"

namespace quorvex::platform {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

} // namespace

LineConnection::LineConnection(const std::string& host, uint16_t port, StepWait steps,
                               Milliseconds limit)
    : steps_(std::move(steps))
    , limit_(limit)
    , socket_(Connect(host, port, steps_, limit)) {}

void LineConnection::SendLine(std::string_view line) {
    socket_.SendAll(std::string(line) + std::string(kLineEnd), steps_);
}

std::string LineConnection::ReadLine() {
    char buffer[kSocketBufferSize];
    for (;;) {
        if (const std::size_t end = received_.find(kLineEnd); end != std::string::npos) {
            std::string line = received_.substr(0, end);
            received_.erase(0, end + kLineEnd.size());
            return line;
        }
        const std::size_t count = socket_.ReceiveSome(buffer, sizeof buffer, steps_, limit_);
        if (count == 0)
            throw ENotConnected();
        received_.append(buffer, count);
    }
}

} // namespace quorvex::platform
