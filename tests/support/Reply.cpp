#include "support/Reply.h"

#include <cstdio>

namespace quorvex::test_support {

Reply Reply::Raw(std::string bytes) {
    return Reply().Send(std::move(bytes));
}

Reply Reply::WithBody(int code, std::string_view reason, std::string body,
                      const std::vector<std::string>& headerLines) {
    std::string head = "HTTP/1.1 " + std::to_string(code) + " " + std::string(reason) + "\r\n";
    for (const std::string& line : headerLines)
        head += line + "\r\n";
    head += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    return Raw(head + body);
}

Reply& Reply::Send(std::string bytes) {
    return Send(std::make_shared<const std::string>(std::move(bytes)));
}

Reply& Reply::Send(std::shared_ptr<const std::string> bytes) {
    steps_.push_back({Step::kSend, std::move(bytes)});
    return *this;
}

Reply& Reply::Delay(Milliseconds pause) {
    steps_.push_back({Step::kDelay, nullptr, pause});
    return *this;
}

Reply& Reply::Close() {
    steps_.push_back({Step::kClose, nullptr});
    return *this;
}

Reply& Reply::KeepAlive() {
    keepAlive_ = true;
    return *this;
}

std::string ChunkedBody(const std::vector<std::string>& chunks, bool complete) {
    std::string body;
    for (const std::string& chunk : chunks) {
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
        body += size + chunk + "\r\n";
    }
    if (complete)
        body += "0\r\n\r\n";
    return body;
}

} // namespace quorvex::test_support
