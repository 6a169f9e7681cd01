#pragma once

#include "platform/Socket.h"

#include <memory>

namespace quorvex::platform {

// A name lookup that runs on a thread of its own, so that its caller can go on handling its
// window while the resolver takes its time (a name server that never answers holds getaddrinfo
// for many seconds, and nothing can cut it short). Destroying the lookup abandons it: the thread
// ends by itself whenever the resolver answers, and the answer is dropped.
class HostLookup {
public:
    HostLookup(const std::string& host, uint16_t port);
    ~HostLookup();
    HostLookup(const HostLookup&) = delete;
    HostLookup& operator=(const HostLookup&) = delete;

    // Waits at most `wait` (kNoTimeout: without limit) for the answer; true when it has come.
    bool Wait(Milliseconds wait);

    // The addresses of a finished lookup; raises EConnectError when the name did not resolve.
    std::vector<SocketAddress> Take();

private:
    struct Outcome;
    std::shared_ptr<Outcome> outcome_;
};

} // namespace quorvex::platform
