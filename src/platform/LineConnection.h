#pragma once

#include "platform/Socket.h"

#include <string>
#include <string_view>

namespace quorvex::platform {

// A conversation in text lines ended by CR LF over one TCP connection, as DICT servers hold
// them. Every wait goes in the caller's steps (so a window keeps working) and ends after `limit`.
class LineConnection {
public:
    // Connects to `host`:`port`; raises EConnectError or EConnectTimeout.
    LineConnection(const std::string& host, uint16_t port, StepWait steps, Milliseconds limit);

    void SendLine(std::string_view line);
    // The next line without its line end; raises EReadTimeout, or ENotConnected when the peer
    // closed before a whole line came.
    std::string ReadLine();

private:
    StepWait steps_;
    Milliseconds limit_;
    TcpSocket socket_;
    std::string received_;
};

} // namespace quorvex::platform
