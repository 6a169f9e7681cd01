#include "translate/WebClient.h"

#include "http/FormEncoding.h"
#include "http/HttpHeaders.h"
#include "http/WebUrl.h"
#include "translate/PumpSteps.h"
#include "translate/WebReply.h"

namespace quorvex {
namespace {

constexpr std::string_view kFormContentType = "application/x-www-form-urlencoded";
constexpr std::string_view kDefaultContentType = "text/html";

platform::Milliseconds TimeoutOrNone(std::chrono::milliseconds timeout) {
    return timeout > std::chrono::milliseconds::zero() ? timeout : platform::kNoTimeout;
}

const char* VersionText(TProtocolVersion version) {
    return version == pv1_0 ? "1.0" : "1.1";
}

} // namespace

std::string TWebClient::Post(const std::string& url, std::vector<std::string>& lines) {
    Disconnect();
    if (Request.ContentType.empty() || EqualsIgnoringCase(Request.ContentType, kDefaultContentType))
        Request.ContentType = kFormContentType;
    if (HTTPOptions & hoEncodeFormValues)
        EncodeFormLines(lines);
    const std::string body = JoinFormLines(lines);
    Request.ContentLength = static_cast<int64_t>(body.size());
    const TProtocolVersion version = (HTTPOptions & hoKeepProtocol) ? ProtocolVersion : pv1_0;
    return DoRequest("POST", url, VersionText(version), body);
}

std::string TWebClient::Get(const std::string& url) {
    return DoRequest("GET", url, VersionText(ProtocolVersion), {});
}

void TWebClient::ConnectTo(const std::string& host, uint16_t port) {
    const bool reusable = Connected() && host == connectedHost_ && port == connectedPort_ &&
                          !socket_.PeerClosedWhileIdle();
    if (reusable)
        return;
    Disconnect();
    socket_ = platform::Connect(host, port, PumpSteps(kConnectStep), ConnectWaitLimit);
    connectedHost_ = host;
    connectedPort_ = port;
}

std::string TWebClient::DoRequest(const std::string& method, const std::string& url,
                                  const std::string& version, const std::string& body) {
    const TUrl target = SplitUrl(url, Port);
    TWebRequest head = Request;
    head.Host = target.HostHeader();
    if (method != "POST")
        head.ContentLength = -1; // not a length a previous Post left behind
    if (version == "1.0" && head.Connection.empty())
        head.Connection = "keep-alive";
    try {
        ConnectTo(target.Host, target.Port);
        socket_.SendAll(BuildRequestHead(method, target.Target, version, head) + body, PumpSteps());

        platform::Milliseconds readTimeout = TimeoutOrNone(ReadTimeout);
        const platform::StepWait readSteps = PumpSteps();
        TByteReader reader([&](char* buffer, size_t size) {
            return socket_.ReceiveSome(buffer, size, readSteps, readTimeout);
        });
        const TWebReply reply = ReadReplyHead(reader);
        if (!reply.IsAccepted()) {
            readTimeout = kRefusedReplyReadTimeout;
            std::string refusedBody = ReadReplyBody(reader, reply);
            Disconnect();
            throw EHTTPProtocolError(reply.Code, reply.StatusLine, std::move(refusedBody));
        }
        std::string replyBody = ReadReplyBody(reader, reply);
        if (reply.BodyEndsAtClose() || !reply.AllowsKeepAlive(version))
            Disconnect();
        return replyBody;
    } catch (...) {
        // After a failure the connection is in an unknown state; the failure goes on as it is.
        Disconnect();
        throw;
    }
}

} // namespace quorvex
