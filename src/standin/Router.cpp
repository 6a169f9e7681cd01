#include "standin/Router.h"

namespace quorvex {

std::string THttpResponse::Serialize() const {
    std::string text = "HTTP/1.1 " + std::to_string(Code) + " " + Reason + "\r\n";
    text += "Content-Type: " + ContentType + "\r\n";
    for (const auto& [name, value] : ExtraHeaders)
        text += name + ": " + value + "\r\n";
    text += "Content-Length: " + std::to_string(Body.size()) + "\r\n";
    text += "Connection: close\r\n\r\n";
    return text + Body;
}

THttpResponse THttpResponse::PlainText(int code, std::string reason, const std::string& message) {
    return {code, std::move(reason), "text/plain; charset=UTF-8", message + "\n", {}};
}

void TRouter::Add(const std::string& method, const std::string& path, Handler handler) {
    routes_[{method, path}] = std::move(handler);
}

void TRouter::AddPrefix(const std::string& method, const std::string& prefix, Handler handler) {
    prefixRoutes_[{method, prefix}] = std::move(handler);
}

const TRouter::Handler* TRouter::Find(const std::string& method, const std::string& path) const {
    if (auto route = routes_.find({method, path}); route != routes_.end())
        return &route->second;
    for (const auto& [key, handler] : prefixRoutes_)
        if (key.first == method && path.starts_with(key.second))
            return &handler;
    return nullptr;
}

bool TRouter::Serves(const std::string& path) const {
    for (const auto& [key, handler] : routes_)
        if (key.second == path)
            return true;
    for (const auto& [key, handler] : prefixRoutes_)
        if (path.starts_with(key.second))
            return true;
    return false;
}

THttpResponse TRouter::Dispatch(const THttpRequest& request) const {
    const std::string path = request.Path();
    const Handler* handler = Find(request.Method, path);
    if (handler == nullptr) {
        if (Serves(path))
            return THttpResponse::PlainText(405, "Method Not Allowed",
                                            request.Method + " is not served for " + path);
        return THttpResponse::PlainText(404, "Not Found", "nothing is served at " + path);
    }
    try {
        return (*handler)(request);
    } catch (const EBadRequest& failure) {
        return THttpResponse::PlainText(400, "Bad Request", failure.what());
    }
}

} // namespace quorvex
