#pragma once

#include "platform/TcpListener.h"
#include "support/Reply.h"
#include "translate/HttpHeaders.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quorvex::test_support {

// How long a test waits for something the server should see soon (generous for a busy machine).
inline constexpr Milliseconds kServerWaitLimit{20000};

// One request as the server received it.
struct RecordedRequest {
    std::string Raw; // request line, header lines, empty line and body, byte for byte
    std::string Method;
    std::string Target;
    std::string Version;
    THttpHeaders Headers;
    std::string Body;
};

// An HTTP server on 127.0.0.1 with a thread per connection, for tests. A handler chooses the
// reply to each request; every request is recorded. Requests carry a body only with a
// Content-Length.
class LoopbackHttpServer {
public:
    using Handler = std::function<Reply(const RecordedRequest&)>;

    explicit LoopbackHttpServer(Handler handler);
    virtual ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    uint16_t Port() const { return listener_.Port(); }
    // "127.0.0.1:<port>"
    std::string Host() const;
    // "http://127.0.0.1:<port>" followed by `target`.
    std::string Url(std::string_view target) const;

    std::vector<RecordedRequest> Requests() const;
    // Waits until at least `count` requests arrived; false when the limit passed first.
    bool WaitForRequests(size_t count, Milliseconds limit = kServerWaitLimit) const;
    size_t ConnectionCount() const;

protected:
    // Stops accepting and ends every connection; a derived class whose handler uses its own
    // members calls it first thing in its destructor.
    void Stop();

private:
    void AcceptLoop();
    void Serve(platform::TcpSocket socket);
    // Runs the reply's steps; false when the connection is to be closed afterwards.
    bool Perform(const Reply& reply, platform::TcpSocket& socket, const platform::StepWait& steps);
    void Record(const RecordedRequest& request);

    Handler handler_;
    platform::TcpListener listener_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable requestArrived_;
    std::vector<RecordedRequest> requests_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

// A server that answers requests with replies queued by the test, one per request in order;
// with the queue empty it answers 500.
class ScriptedHttpServer : public LoopbackHttpServer {
public:
    ScriptedHttpServer();
    ~ScriptedHttpServer() override;

    void Enqueue(Reply reply);

private:
    Reply Next();

    std::mutex scriptMutex_;
    std::vector<Reply> script_;
    size_t next_ = 0;
};

} // namespace quorvex::test_support
