#pragma once

#include <string>

namespace quorvex::services {

// What a web service answered: the HTTP status and the body as it came (after any
// Content-Encoding was undone).
struct HttpReply {
    long Status = 0;
    std::string Body;
};

// How the services reach the web. An answer of any status is a reply; failing to get one at all
// (no connection, an untrusted certificate, the time limit) throws ServiceFailure whose message
// says which. A request given up because the window closes raises ERequestAbandoned, which no
// service catches: nothing more is asked once the program ends.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;

    virtual HttpReply Get(const std::string& url) = 0;
    virtual HttpReply Post(const std::string& url, const std::string& contentType,
                           const std::string& body) = 0;
};

// The process's transport: HTTPS through the platform's session, certificates always verified,
// connections kept alive between translations. Plain http:// only where a URL names it.
HttpTransport& DefaultTransport();

} // namespace quorvex::services
