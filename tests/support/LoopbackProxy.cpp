#include "support/LoopbackProxy.h"

#include "platform/Socket.h"
#include "support/FileServer.h"

#include <charconv>

namespace quorvex::test_support {
namespace {

inline constexpr Milliseconds kUpstreamLimit{20000};

struct Target {
    std::string host;
    uint16_t port = 80;
    std::string path;
};

std::optional<Target> SplitAbsolute(const std::string& url) {
    const std::string scheme = "http://";
    if (url.rfind(scheme, 0) != 0)
        return std::nullopt;
    const auto slash = url.find('/', scheme.size());
    const std::string authority = url.substr(scheme.size(), slash - scheme.size());
    Target target;
    target.path = slash == std::string::npos ? "/" : url.substr(slash);
    const auto colon = authority.find(':');
    target.host = authority.substr(0, colon);
    if (colon != std::string::npos &&
        std::from_chars(authority.data() + colon + 1, authority.data() + authority.size(),
                        target.port)
                .ec != std::errc())
        return std::nullopt;
    return target;
}

} // namespace

LoopbackProxy::LoopbackProxy(std::string login)
    : LoopbackHttpServer([this](const RecordedRequest& request) { return Forward(request); })
    , login_(std::move(login)) {}

LoopbackProxy::~LoopbackProxy() {
    Stop();
}

Reply LoopbackProxy::Forward(const RecordedRequest& request) const {
    if (!login_.empty() &&
        request.Headers.Value("Proxy-Authorization") != BasicAuthorization(login_))
        return Reply::WithBody(407, "Proxy Authentication Required", "proxy login required",
                               {"Proxy-Authenticate: Basic realm=\"proxy\"", "Connection: close"});
    const auto target = SplitAbsolute(request.Target);
    if (!target)
        return Reply::WithBody(400, "Bad Request", "absolute http URL expected",
                               {"Connection: close"});
    std::string outgoing = request.Method + " " + target->path + " HTTP/1.1\r\n";
    for (const auto& [name, value] : request.Headers.Fields())
        if (!ContainsIgnoringCase(name, "Proxy-") && !EqualsIgnoringCase(name, "Connection"))
            outgoing += name + ": " + value + "\r\n";
    outgoing += "Connection: close\r\n\r\n" + request.Body;
    platform::TcpSocket upstream =
        platform::Connect(target->host, target->port, {}, kUpstreamLimit);
    upstream.SendAll(outgoing);
    std::string reply;
    char buffer[16384];
    while (const size_t n = upstream.ReceiveSome(buffer, sizeof(buffer), {}, kUpstreamLimit))
        reply.append(buffer, n);
    return Reply::Raw(std::move(reply)).Close();
}

} // namespace quorvex::test_support
