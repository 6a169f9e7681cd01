#pragma once

#include "platform/Socket.h"
#include "translate/WebClientErrors.h"
#include "translate/WebRequest.h"

#include <optional>
#include <vector>

namespace quorvex {

enum TProtocolVersion { pv1_0, pv1_1 };

// Flags of TWebClient::HTTPOptions.
enum THTTPOption : unsigned {
    hoKeepProtocol = 1,     // a POST keeps ProtocolVersion instead of going out as HTTP/1.0
    hoEncodeFormValues = 2, // Post encodes the value of each form line
};

// The longest the client waits for a connection attempt by default.
inline constexpr std::chrono::milliseconds kConnectWaitLimit{120000};
// The longest connect step, whatever the message pump's WaitStep.
inline constexpr std::chrono::milliseconds kConnectStep{125};
// Read time-out while draining the body of a refused reply.
inline constexpr std::chrono::milliseconds kRefusedReplyReadTimeout{2000};

// A blocking HTTP/1.x client. While a current TMessagePump exists, waits are cut into short
// steps with messages processed between them, so a handler may even start another request.
// Every failure is raised as an exception.
class TWebClient {
public:
    TWebClient() = default;
    TWebClient(const TWebClient&) = delete;
    TWebClient& operator=(const TWebClient&) = delete;

    // Sends `lines` (each "name=value") as a URL-encoded form and returns the reply body. The
    // lines are rewritten in place by the encoding.
    std::string Post(const std::string& url, std::vector<std::string>& lines);
    // Returns the body of the reply to a GET of `url`.
    std::string Get(const std::string& url);

    bool Connected() const { return socket_.IsOpen(); }
    void Disconnect() { socket_.Close(); }

    TWebRequest Request;
    uint16_t Port = 80; // used when the URL names no port
    TProtocolVersion ProtocolVersion = pv1_1;
    unsigned HTTPOptions = hoEncodeFormValues;
    std::chrono::milliseconds ReadTimeout{0}; // 0: none
    std::chrono::milliseconds ConnectWaitLimit = kConnectWaitLimit;

private:
    std::string DoRequest(const std::string& method, const std::string& url,
                          const std::string& version, const std::string& body);
    void ConnectTo(const std::string& host, uint16_t port);

    platform::TcpSocket socket_;
    std::string connectedHost_;
    uint16_t connectedPort_ = 0;
};

} // namespace quorvex
