#include "platform/ParentProcess.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace quorvex::platform {
namespace {

bool SameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// An interpreter running a script holds the script's path among its arguments, relative to its
// own working folder, and its image is the interpreter's.
bool RunsExecutable(pid_t process, const std::string& executable) {
    const std::string folder = "/proc/" + std::to_string(process) + "/";
    if (SameFile(folder + "exe", executable))
        return true;
    std::ifstream file(folder + "cmdline", std::ios::binary);
    const std::string arguments{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
    for (std::size_t start = 0; start < arguments.size();) {
        const std::size_t end = std::min(arguments.find('\0', start), arguments.size());
        const std::string argument = arguments.substr(start, end - start);
        const std::string path = argument.starts_with('/') ? argument : folder + "cwd/" + argument;
        if (!argument.empty() && SameFile(path, executable))
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

std::optional<ParentProcess> ParentProcess::IfRunning(const std::string& executable) {
    const pid_t parent = getppid();
    const int descriptor = static_cast<int>(syscall(SYS_pidfd_open, parent, 0));
    if (descriptor < 0)
        return std::nullopt;
    ParentProcess held(descriptor);
    // Once the parent has gone the process belongs to another, whose id the descriptor may
    // then hold; asking again after opening it rules that out.
    if (getppid() != parent || !RunsExecutable(parent, executable))
        return std::nullopt;
    return held;
}

ParentProcess::ParentProcess(ParentProcess&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

ParentProcess& ParentProcess::operator=(ParentProcess&& other) noexcept {
    std::swap(descriptor_, other.descriptor_);
    return *this;
}

ParentProcess::~ParentProcess() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

void ParentProcess::WaitForEnd() const {
    pollfd watch{descriptor_, POLLIN, 0};
    while (::poll(&watch, 1, -1) < 0 && errno == EINTR) {
    }
}

} // namespace quorvex::platform
