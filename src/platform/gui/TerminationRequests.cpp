#include "platform/gui/TerminationRequests.h"

#include "platform/Exception.h"
#include "platform/SystemError.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quorvex::platform {

namespace {

// The pipe's write end: a signal handler may only write, so the event loop reads the other end.
int signalWriteEnd = -1;

void NoteSignal(int signal) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds an end request: nothing is lost when this byte is not written.
    [[maybe_unused]] const ssize_t written = write(signalWriteEnd, &byte, 1);
    errno = savedErrno;
}

void SetTerminationHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // System calls a signal interrupts are restarted, as they were without a handler.
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace

void HandleTerminationRequests(QObject& owner, std::function<void()> end) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        throw Exception("cannot make the pipe that hands end signals to the event loop: " +
                        SystemErrorText(errno));
    signalWriteEnd = ends[1];
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, &owner);
    QObject::connect(notifier, &QSocketNotifier::activated, &owner,
                     [readEnd = ends[0], end = std::move(end)] {
                         unsigned char byte;
                         while (read(readEnd, &byte, 1) > 0) {
                         }
                         end();
                     });
    SetTerminationHandler(NoteSignal);
    // Once the owner is gone nobody reads the pipe: a later signal ends the program at once.
    QObject::connect(&owner, &QObject::destroyed, [] { SetTerminationHandler(SIG_DFL); });
}

} // namespace quorvex::platform
