#include "platform/Terminal.h"

#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

inline constexpr const char* kTerminal = "/dev/tty";

// Turns echo off for as long as it lives.
class EchoOff {
public:
    explicit EchoOff(int descriptor)
        : descriptor_(descriptor) {
        active_ = tcgetattr(descriptor_, &saved_) == 0;
        if (!active_)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        tcsetattr(descriptor_, TCSAFLUSH, &quiet);
    }
    ~EchoOff() {
        if (active_)
            tcsetattr(descriptor_, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int descriptor_;
    termios saved_{};
    bool active_ = false;
};

} // namespace

std::optional<std::string> AskOnTerminal(const std::string& prompt, bool hidden) {
    const int terminal = ::open(kTerminal, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0)
        return std::nullopt;
    (void)!::write(terminal, prompt.data(), prompt.size());
    std::optional<std::string> line = std::string();
    {
        std::optional<EchoOff> echo;
        if (hidden)
            echo.emplace(terminal);
        char c = 0;
        ssize_t count = 0;
        while ((count = ::read(terminal, &c, 1)) == 1 && c != '\n')
            *line += c;
        if (count < 0 || (count == 0 && line->empty()))
            line.reset();
    }
    if (hidden)
        (void)!::write(terminal, "\n", 1);
    ::close(terminal);
    return line;
}

} // namespace quorvex::platform
