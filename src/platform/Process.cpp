#include "platform/Process.h"

#include "platform/Exception.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quorvex::platform {
namespace {

inline constexpr int kFirstInheritedDescriptor = 3;

// The spawn attributes and file actions of a clean start, released on every path out.
class SpawnSettings {
public:
    explicit SpawnSettings(const StandardStreams& streams) {
        posix_spawnattr_init(&attributes_);
        posix_spawn_file_actions_init(&actions_);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes_, &signals);
        sigfillset(&signals);
        posix_spawnattr_setsigdefault(&attributes_, &signals);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        Redirect(streams.Input, STDIN_FILENO);
        Redirect(streams.Output, STDOUT_FILENO);
        Redirect(streams.Error, STDERR_FILENO);
        posix_spawn_file_actions_addclosefrom_np(&actions_, kFirstInheritedDescriptor);
    }
    ~SpawnSettings() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawnattr_t* Attributes() const { return &attributes_; }
    const posix_spawn_file_actions_t* Actions() const { return &actions_; }

private:
    void Redirect(int descriptor, int standard) {
        if (descriptor >= 0)
            posix_spawn_file_actions_adddup2(&actions_, descriptor, standard);
    }

    posix_spawnattr_t attributes_;
    posix_spawn_file_actions_t actions_;
};

} // namespace

ProcessId StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const StandardStreams& streams) {
    std::vector<std::string> texts(arguments);
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    const SpawnSettings settings(streams);
    ProcessId process = -1;
    const int error = posix_spawn(&process, program.c_str(), settings.Actions(),
                                  settings.Attributes(), argv.data(), environ);
    if (error != 0)
        throw Exception("cannot start " + program + ": " + std::strerror(error));
    return process;
}

int WaitForChild(ProcessId process) {
    int status = 0;
    while (waitpid(process, &status, 0) < 0) {
        if (errno != EINTR)
            throw Exception("cannot wait for process " + std::to_string(process) + ": " +
                            std::strerror(errno));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::optional<int> ChildStatusIfEnded(ProcessId process) {
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(process, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (ended < 0)
        throw Exception("cannot ask after process " + std::to_string(process) + ": " +
                        std::strerror(errno));
    if (ended == 0)
        return std::nullopt;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void ReplaceProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
}

void CloseInheritedDescriptors() {
    closefrom(kFirstInheritedDescriptor);
}

} // namespace quorvex::platform
