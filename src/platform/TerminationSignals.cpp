#include "platform/TerminationSignals.h"

#include "platform/Exception.h"

#include <csignal>
#include <pthread.h>
#include <string>

namespace quorvex::platform {
namespace {

sigset_t TerminationSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

} // namespace

void BlockTerminationSignals() {
    const sigset_t signals = TerminationSignals();
    int error = pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    if (error != 0)
        throw Exception("cannot block the termination signals: error " + std::to_string(error));
}

int WaitForTerminationSignal() {
    const sigset_t signals = TerminationSignals();
    int received = 0;
    int error = sigwait(&signals, &received);
    if (error != 0)
        throw Exception("cannot wait for a termination signal: error " + std::to_string(error));
    return received;
}

} // namespace quorvex::platform
