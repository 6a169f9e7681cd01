#include "support/SilentServer.h"

namespace quorvex::test_support {
namespace {

// How often the accepting thread looks whether it should stop.
inline constexpr platform::Milliseconds kAcceptStep{50};

} // namespace

SilentServer::SilentServer()
    : acceptor_([this] { AcceptUntilStopped(); }) {}

SilentServer::~SilentServer() {
    stopping_ = true;
    acceptor_.join();
}

std::string SilentServer::Host() const {
    return "127.0.0.1:" + std::to_string(listener_.Port());
}

void SilentServer::AcceptUntilStopped() {
    while (!stopping_) {
        if (std::optional<platform::TcpSocket> connection = listener_.Accept(kAcceptStep)) {
            held_.push_back(std::move(*connection));
            ++connections_;
        }
    }
}

} // namespace quorvex::test_support
