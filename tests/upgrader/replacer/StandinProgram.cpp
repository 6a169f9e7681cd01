// A stand-in for the program being upgraded. It appends "started", its process id and its
// arguments (tab-separated) to the file named by QV_RECORD, starts the replacer when
// QV_LAUNCH holds its argument vector (one argument a line; standard error goes to the file
// QV_REPLACER_ERRORS) as the program's upgrade does, and then runs until SIGTERM ends it.
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

void Record(const std::string& line) {
    const char* path = std::getenv("QV_RECORD");
    if (path == nullptr)
        return;
    const int file = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    const std::string text = line + "\n";
    if (file >= 0 && write(file, text.data(), text.size()) < 0)
        _exit(3);
    close(file);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

void LaunchReplacer(const std::string& launch) {
    std::vector<std::string> arguments = Lines(launch);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (const char* errors = std::getenv("QV_REPLACER_ERRORS"))
        posix_spawn_file_actions_addopen(&actions, 2, errors, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t replacer = -1;
    if (posix_spawn(&replacer, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        _exit(4);
    posix_spawn_file_actions_destroy(&actions);
    Record("replacer\t" + std::to_string(replacer));
}

} // namespace

int main(int argc, char** argv) {
    sigset_t end;
    sigemptyset(&end);
    sigaddset(&end, SIGTERM);
    sigprocmask(SIG_BLOCK, &end, nullptr);
    std::string line = "started\t" + std::to_string(getpid());
    for (int i = 1; i < argc; ++i)
        line += "\t" + std::string(argv[i]);
    Record(line);
    if (const char* launch = std::getenv("QV_LAUNCH")) {
        const std::string arguments(launch);
        // What the replacer starts again must not start another replacer.
        unsetenv("QV_LAUNCH");
        LaunchReplacer(arguments);
    }
    int signal = 0;
    sigwait(&end, &signal);
    return 0;
}
