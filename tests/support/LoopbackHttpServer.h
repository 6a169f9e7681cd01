#pragma once

#include "standin/HttpServer.h"
#include "support/Reply.h"

#include <condition_variable>
#include <mutex>

namespace quorvex::test_support {

// How long a test waits for something the server should see soon (generous for a busy machine).
inline constexpr Milliseconds kServerWaitLimit{20000};

// One request as the server received it.
using RecordedRequest = THttpRequest;

// An HTTP server on 127.0.0.1 with a thread per connection, for tests; HTTPS when given a TLS
// context. A handler chooses the reply to each request; every request is recorded.
class LoopbackHttpServer {
public:
    using Handler = std::function<Reply(const RecordedRequest&)>;

    explicit LoopbackHttpServer(Handler handler,
                                std::shared_ptr<const platform::TlsServerContext> tls = {});
    virtual ~LoopbackHttpServer() = default;
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    uint16_t Port() const { return server_.Port(); }
    // "127.0.0.1:<port>"
    std::string Host() const;
    // "http://127.0.0.1:<port>" (https:// with TLS) followed by `target`.
    std::string Url(std::string_view target) const;

    std::vector<RecordedRequest> Requests() const;
    // Waits until at least `count` requests arrived; false when the limit passed first.
    bool WaitForRequests(size_t count, Milliseconds limit = kServerWaitLimit) const;
    size_t ConnectionCount() const { return server_.ConnectionCount(); }

protected:
    // Ends every connection; a derived class whose handler uses its own members calls it first
    // thing in its destructor.
    void Stop() { server_.Stop(); }

private:
    bool Respond(const RecordedRequest& request, TServerConnection& connection);

    Handler handler_;
    bool secure_;
    mutable std::mutex mutex_;
    mutable std::condition_variable requestArrived_;
    std::vector<RecordedRequest> requests_;
    THttpServer server_; // last: its threads use the members above
};

// A server that answers requests with replies queued by the test, one per request in order;
// with the queue empty it answers 500.
class ScriptedHttpServer : public LoopbackHttpServer {
public:
    explicit ScriptedHttpServer(std::shared_ptr<const platform::TlsServerContext> tls = {});
    ~ScriptedHttpServer() override;

    void Enqueue(Reply reply);

private:
    Reply Next();

    std::mutex scriptMutex_;
    std::vector<Reply> script_;
    size_t next_ = 0;
};

} // namespace quorvex::test_support
