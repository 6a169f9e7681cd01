#include "support/XvfbDisplay.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace quorvex::test_support {

namespace {

// Time Xvfb gets to come up on a busy machine.
inline constexpr std::chrono::milliseconds kStartLimit{60000};

// Both ends of a pipe, closed when the object goes away.
class Pipe {
public:
    Pipe() {
        if (pipe2(ends_, O_CLOEXEC) != 0)
            throw Exception("Cannot create a pipe for Xvfb");
    }
    ~Pipe() {
        CloseWriteEnd();
        close(ends_[0]);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int ReadEnd() const { return ends_[0]; }
    // The write end, left open across exec so that a child started now inherits it.
    int InheritableWriteEnd() {
        fcntl(ends_[1], F_SETFD, 0);
        return ends_[1];
    }
    void CloseWriteEnd() {
        if (ends_[1] >= 0)
            close(ends_[1]);
        ends_[1] = -1;
    }

private:
    int ends_[2];
};

// Reads one line from `fd`, waiting at most until `end`; empty when the writer went away first.
std::string ReadLine(int fd, std::chrono::steady_clock::time_point end) {
    std::string line;
    while (line.empty() || line.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd readable{fd, POLLIN, 0};
        const int ready = poll(&readable, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        char byte;
        if (ready <= 0 || read(fd, &byte, 1) != 1)
            return {};
        line.push_back(byte);
    }
    line.pop_back();
    return line;
}

} // namespace

XvfbDisplay::XvfbDisplay(const std::string& screenSize) {
    // Xvfb picks a free display number itself (binding its socket is what reserves it) and
    // reports it once it accepts connections, so parallel tests never share a display.
    Pipe displayNumber;
    server_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        "Xvfb", "-displayfd", std::to_string(displayNumber.InheritableWriteEnd()), "-screen", "0",
        screenSize, "-nolisten", "tcp"});
    displayNumber.CloseWriteEnd();
    const std::string number =
        ReadLine(displayNumber.ReadEnd(), std::chrono::steady_clock::now() + kStartLimit);
    if (number.empty())
        throw Exception("Xvfb did not report a display it serves");
    name_ = ":" + number;
}

} // namespace quorvex::test_support
