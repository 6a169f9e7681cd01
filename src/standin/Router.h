#pragma once

#include "http/HttpRequest.h"

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace quorvex {

// A reply of the stand-in; it always closes the connection after it.
struct THttpResponse {
    int Code = 200;
    std::string Reason = "OK";
    std::string ContentType = "text/html; charset=UTF-8";
    std::string Body;
    std::vector<std::pair<std::string, std::string>> ExtraHeaders;

    // Status line, headers (with Content-Length and "Connection: close"), empty line, body.
    std::string Serialize() const;

    // A plain-text reply for a failure, saying why.
    static THttpResponse PlainText(int code, std::string reason, const std::string& message);
};

// Sends each request to the handler registered for its method and path (the target without the
// query). A handler raising EBadRequest gets a 400 carrying its message.
class TRouter {
public:
    using Handler = std::function<THttpResponse(const THttpRequest&)>;

    void Add(const std::string& method, const std::string& path, Handler handler);
    // Serves every path that starts with prefix and has no handler of its own.
    void AddPrefix(const std::string& method, const std::string& prefix, Handler handler);
    THttpResponse Dispatch(const THttpRequest& request) const;

private:
    const Handler* Find(const std::string& method, const std::string& path) const;
    bool Serves(const std::string& path) const;

    std::map<std::pair<std::string, std::string>, Handler> routes_;
    std::map<std::pair<std::string, std::string>, Handler> prefixRoutes_;
};

} // namespace quorvex
