#pragma once

#include "standin/HttpServer.h"
#include "standin/Router.h"
#include "standin/SiteService.h"

namespace quorvex {

// The stand-in for the outside web services: every service added to its router, served on
// 127.0.0.1 from construction until destruction.
class TStandin {
public:
    // `port` 0 picks a free port; with `tls` it speaks HTTPS only.
    explicit TStandin(uint16_t port = 0, const TSiteOptions& site = {},
                      std::shared_ptr<const platform::TlsServerContext> tls = {});

    uint16_t Port() const { return server_.Port(); }

private:
    static TRouter Services(const TSiteOptions& site);

    const TRouter router_;
    THttpServer server_; // after the router, which its threads use
};

} // namespace quorvex
