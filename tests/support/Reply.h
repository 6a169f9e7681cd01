#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::test_support {

using Milliseconds = std::chrono::milliseconds;

// What a test server does for one request: raw bytes, pauses and an early close, in order.
class Reply {
public:
    struct Step {
        enum Kind { kSend, kDelay, kClose } What;
        std::shared_ptr<const std::string> Bytes;
        Milliseconds Pause{0};
    };

    // A reply made of these raw bytes and nothing else.
    static Reply Raw(std::string bytes);
    // "HTTP/1.1 <code> <reason>", the header lines, a Content-Length header, an empty line and
    // the body.
    static Reply WithBody(int code, std::string_view reason, std::string body,
                          const std::vector<std::string>& headerLines = {});

    Reply& Send(std::string bytes);
    Reply& Send(std::shared_ptr<const std::string> bytes);
    Reply& Delay(Milliseconds pause);
    // Closes the connection at this point; later steps are not run.
    Reply& Close();
    // Keeps the connection open after the reply and reads the next request from it.
    Reply& KeepAlive();

    const std::vector<Step>& Steps() const { return steps_; }
    bool KeepsAlive() const { return keepAlive_; }

private:
    std::vector<Step> steps_;
    bool keepAlive_ = false;
};

// The chunked form of `chunks`: each one as a hexadecimal size line and its data, then the
// last (empty) chunk and the closing line when `complete`.
std::string ChunkedBody(const std::vector<std::string>& chunks, bool complete = true);

} // namespace quorvex::test_support
