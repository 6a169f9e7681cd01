#include "platform/PipedProgram.h"

#include "platform/Environment.h"
#include "platform/Exception.h"
#include "platform/FileReplace.h"
#include "platform/Poll.h"
#include "platform/Process.h"
#include "platform/SigpipeBlock.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace quorvex::platform {
namespace {

// A pipe whose ends close with the object; neither end leaks into other children.
class Pipe {
public:
    Pipe() {
        if (pipe2(ends_.data(), O_CLOEXEC) != 0)
            throw Exception(std::string("cannot create a pipe: ") + std::strerror(errno));
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int Read() const { return ends_[0]; }
    int Write() const { return ends_[1]; }
    void CloseRead() { Close(ends_[0]); }
    void CloseWrite() { Close(ends_[1]); }

private:
    static void Close(int& descriptor) {
        if (descriptor >= 0)
            close(descriptor);
        descriptor = -1;
    }

    std::array<int, 2> ends_{-1, -1};
};

void MakeNonBlocking(int descriptor) {
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) | O_NONBLOCK);
}

// Appends what can be read now; false once the writer has closed its end.
bool ReadAvailable(int descriptor, std::string& into) {
    std::array<char, kSocketBufferSize> buffer{};
    const ssize_t count = read(descriptor, buffer.data(), buffer.size());
    if (count > 0)
        into.append(buffer.data(), static_cast<size_t>(count));
    return count > 0 || (count < 0 && (errno == EAGAIN || errno == EINTR));
}

// Feeds `input` and drains both outputs together, so that a child blocked on a full pipe
// never waits for us while we wait for it.
void Exchange(Pipe& input, Pipe& output, Pipe& error, const std::string& text,
              ProgramOutcome& outcome, Milliseconds limit, const StepWait& steps) {
    const auto end = std::chrono::steady_clock::now() + limit;
    size_t written = 0;
    if (text.empty())
        input.CloseWrite();
    while (output.Read() >= 0 || error.Read() >= 0) {
        std::array<pollfd, 3> descriptors{
            {{output.Read(), POLLIN, 0}, {error.Read(), POLLIN, 0}, {input.Write(), POLLOUT, 0}}};
        const auto left =
            std::chrono::duration_cast<Milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            throw Exception("the program did not finish within " + std::to_string(limit.count()) +
                            " ms");
        const Milliseconds wait = steps.Step == kNoTimeout ? left : std::min(left, steps.Step);
        const bool ready = PollDescriptors(descriptors.data(), descriptors.size(), wait);
        if (steps.AfterStep)
            steps.AfterStep(ready);
        if (!ready)
            continue;
        if (descriptors[0].revents != 0 && !ReadAvailable(output.Read(), outcome.Output))
            output.CloseRead();
        if (descriptors[1].revents != 0 && !ReadAvailable(error.Read(), outcome.ErrorOutput))
            error.CloseRead();
        if (descriptors[2].revents == 0)
            continue;
        const ssize_t count = write(input.Write(), text.data() + written, text.size() - written);
        if (count > 0)
            written += static_cast<size_t>(count);
        if ((count < 0 && errno != EAGAIN && errno != EINTR) || written == text.size())
            input.CloseWrite(); // done, or the child stopped reading
    }
}

} // namespace

ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& input, Milliseconds limit, const StepWait& steps) {
    Pipe in, out, err;
    const pid_t child =
        StartProgram(program, arguments, StandardStreams{in.Read(), out.Write(), err.Write()});
    in.CloseRead();
    out.CloseWrite();
    err.CloseWrite();
    MakeNonBlocking(in.Write());
    MakeNonBlocking(out.Read());
    MakeNonBlocking(err.Read());
    ProgramOutcome outcome;
    try {
        const SigpipeBlock noSigpipe;
        Exchange(in, out, err, input, outcome, limit, steps);
    } catch (...) {
        kill(child, SIGKILL);
        WaitForChild(child);
        throw;
    }
    outcome.ExitStatus = WaitForChild(child);
    return outcome;
}

std::optional<std::string> FindProgram(const std::string& name) {
    std::stringstream folders(EnvironmentOr("PATH", "/usr/local/bin:/usr/bin:/bin"));
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = (std::filesystem::path(folder) / name).string();
        if (!folder.empty() && FileExists(candidate) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

} // namespace quorvex::platform
