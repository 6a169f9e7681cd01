#pragma once

#include "support/LoopbackHttpServer.h"

#include <string>

namespace quorvex::test_support {

// A forwarding HTTP proxy on 127.0.0.1 for plain-http requests in absolute form. With a login
// set it answers 407 until the request carries that Basic Proxy-Authorization.
class LoopbackProxy : public LoopbackHttpServer {
public:
    explicit LoopbackProxy(std::string login = "");
    ~LoopbackProxy() override;

private:
    Reply Forward(const RecordedRequest& request) const;

    std::string login_;
};

} // namespace quorvex::test_support
