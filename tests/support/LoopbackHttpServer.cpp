#include "support/LoopbackHttpServer.h"

namespace quorvex::test_support {

LoopbackHttpServer::LoopbackHttpServer(Handler handler,
                                       std::shared_ptr<const platform::TlsServerContext> tls)
    : handler_(std::move(handler))
    , secure_(tls != nullptr)
    , server_([this](const RecordedRequest& request,
                     TServerConnection& connection) { return Respond(request, connection); },
              0, std::move(tls)) {}

std::string LoopbackHttpServer::Host() const {
    return "127.0.0.1:" + std::to_string(Port());
}

std::string LoopbackHttpServer::Url(std::string_view target) const {
    return (secure_ ? "https://" : "http://") + Host() + std::string(target);
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool LoopbackHttpServer::WaitForRequests(size_t count, Milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return requestArrived_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

bool LoopbackHttpServer::Respond(const RecordedRequest& request, TServerConnection& connection) {
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        requestArrived_.notify_all();
    }
    const Reply reply = handler_(request);
    for (const Reply::Step& step : reply.Steps()) {
        switch (step.What) {
        case Reply::Step::kSend:
            connection.Send(*step.Bytes);
            break;
        case Reply::Step::kDelay:
            connection.Pause(step.Pause);
            break;
        case Reply::Step::kClose:
            return false;
        }
    }
    return reply.KeepsAlive();
}

ScriptedHttpServer::ScriptedHttpServer(std::shared_ptr<const platform::TlsServerContext> tls)
    : LoopbackHttpServer([this](const RecordedRequest&) { return Next(); }, std::move(tls)) {}

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
