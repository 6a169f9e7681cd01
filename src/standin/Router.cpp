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

THttpResponse TRouter::Dispatch(const THttpRequest& request) const {
    const std::string path = request.Path();
    auto route = routes_.find({request.Method, path});
    if (route == routes_.end()) {
        for (const auto& [key, handler] : routes_) {
            if (key.second == path)
                return THttpResponse::PlainText(405, "Method Not Allowed",
                                                request.Method + " is not served for " + path);
        }
        return THttpResponse::PlainText(404, "Not Found", "nothing is served at " + path);
    }
    try {
        return route->second(request);
    } catch (const EBadRequest& failure) {
        return THttpResponse::PlainText(400, "Bad Request", failure.what());
    }
}

} // namespace quorvex
