#include "support/LoopbackHttpServer.h"

#include "support/RequestReading.h"

namespace quorvex::test_support {
namespace {

// How often the server's threads look whether it is stopping.
constexpr Milliseconds kStopCheckInterval{50};

// Raised inside a connection's thread to leave it when the server stops.
struct ServerStopping {};

} // namespace

LoopbackHttpServer::LoopbackHttpServer(Handler handler)
    : handler_(std::move(handler))
    , acceptor_([this] { AcceptLoop(); }) {}

LoopbackHttpServer::~LoopbackHttpServer() {
    Stop();
}

void LoopbackHttpServer::Stop() {
    if (stopping_.exchange(true))
        return;
    acceptor_.join();
    // No new connection threads start once the acceptor has ended.
    for (std::thread& connection : connections_)
        connection.join();
}

std::string LoopbackHttpServer::Host() const {
    return "127.0.0.1:" + std::to_string(Port());
}

std::string LoopbackHttpServer::Url(std::string_view target) const {
    return "http://" + Host() + std::string(target);
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool LoopbackHttpServer::WaitForRequests(size_t count, Milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return requestArrived_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

size_t LoopbackHttpServer::ConnectionCount() const {
    std::lock_guard lock(mutex_);
    return connections_.size();
}

void LoopbackHttpServer::AcceptLoop() {
    while (!stopping_) {
        std::optional<platform::TcpSocket> socket = listener_.Accept(kStopCheckInterval);
        if (!socket)
            continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back(
            [this, accepted = std::move(*socket)]() mutable { Serve(std::move(accepted)); });
    }
}

void LoopbackHttpServer::Serve(platform::TcpSocket socket) {
    platform::StepWait steps{kStopCheckInterval, [this](bool) {
                                 if (stopping_)
                                     throw ServerStopping();
                             }};
    TByteReader reader(
        [&](char* buffer, size_t size) { return socket.ReceiveSome(buffer, size, steps); });
    try {
        while (std::optional<RecordedRequest> request = ReadRequest(reader)) {
            Record(*request);
            if (!Perform(handler_(*request), socket, steps))
                break;
        }
    } catch (const ServerStopping&) {
        // The server is going away; the connection simply closes.
    } catch (const Exception&) {
        // The client went away mid-exchange (reset, broken pipe); that is the client's test.
    }
}

bool LoopbackHttpServer::Perform(const Reply& reply, platform::TcpSocket& socket,
                                 const platform::StepWait& steps) {
    for (const Reply::Step& step : reply.Steps()) {
        switch (step.What) {
        case Reply::Step::kSend:
            socket.SendAll(*step.Bytes, steps);
            break;
        case Reply::Step::kDelay:
            for (auto end = std::chrono::steady_clock::now() + step.Pause;
                 std::chrono::steady_clock::now() < end;) {
                if (stopping_)
                    throw ServerStopping();
                std::this_thread::sleep_for(std::min(kStopCheckInterval, step.Pause));
            }
            break;
        case Reply::Step::kClose:
            return false;
        }
    }
    return reply.KeepsAlive();
}

void LoopbackHttpServer::Record(const RecordedRequest& request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    requestArrived_.notify_all();
}

ScriptedHttpServer::ScriptedHttpServer()
    : LoopbackHttpServer([this](const RecordedRequest&) { return Next(); }) {}

ScriptedHttpServer::~ScriptedHttpServer() {
    Stop();
}

void ScriptedHttpServer::Enqueue(Reply reply) {
    std::lock_guard lock(scriptMutex_);
    script_.push_back(std::move(reply));
}

Reply ScriptedHttpServer::Next() {
    std::lock_guard lock(scriptMutex_);
    if (next_ >= script_.size())
        return Reply::WithBody(500, "No Scripted Reply", "the test queued no reply for this");
    return script_[next_++];
}

} // namespace quorvex::test_support
