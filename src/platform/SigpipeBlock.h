#pragma once

#include <csignal>
#include <ctime>

namespace quorvex::platform {

// Blocks SIGPIPE for the calling thread while it lives, and discards one raised meanwhile: a
// peer that stops reading (a child's input, a client's socket) must not end this process; the
// write just fails.
class SigpipeBlock {
public:
    SigpipeBlock() {
        sigemptyset(&pipeSignal_);
        sigaddset(&pipeSignal_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal_, &previous_);
    }
    ~SigpipeBlock() {
        const timespec now{0, 0};
        while (sigtimedwait(&pipeSignal_, nullptr, &now) == SIGPIPE) {
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

private:
    sigset_t pipeSignal_;
    sigset_t previous_;
};

} // namespace quorvex::platform
