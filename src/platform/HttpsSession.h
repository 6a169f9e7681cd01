#pragma once

#include "platform/Exception.h"
#include "platform/Socket.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::platform {

// The longest a request of a session may take, connection included.
inline constexpr Milliseconds kHttpsRequestLimit{30000};
// The proxy setting (Network/Proxy) that means no proxy at all.
inline constexpr const char* kNoProxy = "none";

// The status and body of a reply (its Content-Encoding undone).
struct HttpsReply {
    long Status = 0;
    std::string Body;
};

// No reply came: no connection, an untrusted certificate, the time limit. The message says
// which, for a person.
class EHttpsFailure : public Exception {
public:
    using Exception::Exception;
};

// Web requests over HTTPS with libcurl, for the translation services. Certificates are always
// verified, against the system's store or what SSL_CERT_FILE and SSL_CERT_DIR name. Connections
// stay open in the session and the next request to the same server reuses them, so a series of
// translations costs one TLS handshake. While a request waits, `steps` run as for the sockets
// (a window keeps answering; a step may throw to give the request up). Plain http:// is used
// only where a URL names it; a redirect never leads from HTTPS to it.
class HttpsSession {
public:
    explicit HttpsSession(Milliseconds limit = kHttpsRequestLimit);
    ~HttpsSession();
    HttpsSession(const HttpsSession&) = delete;
    HttpsSession& operator=(const HttpsSession&) = delete;

    // The proxy of the following requests ("host:port", "user:password@host:port" or a URL);
    // kNoProxy: none, whatever the environment says; empty: the environment's (https_proxy,
    // no_proxy).
    void SetProxy(std::string proxy);

    // Each header is a "Name: value" line.
    HttpsReply Get(const std::string& url, const std::vector<std::string>& headers = {},
                   const StepWait& steps = {});
    HttpsReply Post(const std::string& url, std::string_view contentType, std::string_view body,
                    const std::vector<std::string>& headers = {}, const StepWait& steps = {});

private:
    struct Handles;
    struct Transfer;

    HttpsReply Perform(Transfer& transfer, const StepWait& steps);

    std::unique_ptr<Handles> handles_;
    Milliseconds limit_;
    std::string proxy_;
};

} // namespace quorvex::platform
