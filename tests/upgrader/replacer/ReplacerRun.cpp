#include "upgrader/replacer/ReplacerRun.h"

#include "support/Files.h"
#include "support/Waiting.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>

namespace quorvex::test_support {
namespace {

namespace fs = std::filesystem;

inline constexpr Milliseconds kRunLimit{60000};
inline constexpr int kLowestPriorityNice = 19;
inline const std::string kVersionMark = "\nversion ";

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

} // namespace

ReplacerRun::ReplacerRun(const std::string& folderName) {
    // Orphans of the run (the replacer, the programs it starts) must come to this process,
    // which waits for them and so keeps their process ids from being reused meanwhile.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::string pattern = (fs::temp_directory_path() / "qv replacer XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    folder_ = root_ / folderName;
    fs::create_directories(folder_);
    record_ = root_ / "record";
    errors_ = root_ / "replacer errors";
}

ReplacerRun::~ReplacerRun() {
    EndStandins();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string ReplacerRun::OldProgram() {
    return ReadWholeFile(QV_STANDIN_PATH);
}

std::string ReplacerRun::NewProgram(const std::string& version) {
    // Bytes after the end of an executable's image do not keep it from running.
    return OldProgram() + kVersionMark + version + "\n";
}

void ReplacerRun::Write(const std::string& name, const std::string& bytes, unsigned permissions) {
    const fs::path path = folder_ / name;
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ignored);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    fs::permissions(path, static_cast<fs::perms>(permissions));
}

std::string ReplacerRun::Read(const std::string& name) const {
    return ReadWholeFile(folder_ / name);
}

unsigned ReplacerRun::Permissions(const std::string& name) const {
    return static_cast<unsigned>(fs::status(folder_ / name).permissions());
}

std::map<std::string, std::string> ReplacerRun::Files() const {
    const std::string oldProgram = OldProgram();
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        std::string bytes = ReadWholeFile(entry.path());
        if (bytes == oldProgram)
            bytes = "old program";
        else if (bytes.starts_with(oldProgram + kVersionMark))
            bytes = "new program " +
                    bytes.substr(oldProgram.size() + kVersionMark.size(),
                                 bytes.size() - oldProgram.size() - kVersionMark.size() - 1);
        files[entry.path().filename().string()] = bytes;
    }
    return files;
}

std::size_t ReplacerRun::DownloadCount() const {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder_))
        count += entry.path().filename().string().ends_with(".uTMP") ? 1 : 0;
    return count;
}

std::vector<std::string> ReplacerRun::ReplacerArguments(const std::string& exePath,
                                                        const std::string& restart,
                                                        char method) const {
    std::vector<std::string> arguments{QV_REPLACER_PATH};
    for (const std::string& word : Split(exePath + " +" + restart + method, ' '))
        arguments.push_back(word);
    return arguments;
}

std::unique_ptr<ChildProcess> ReplacerRun::StartProgram(const std::string& name,
                                                        const std::vector<std::string>& launch) {
    std::vector<std::string> environment{"QV_RECORD=" + record_.string(),
                                         "QV_REPLACER_ERRORS=" + errors_.string()};
    if (!launch.empty()) {
        std::string lines;
        for (const std::string& argument : launch)
            lines += argument + "\n";
        environment.push_back("QV_LAUNCH=" + lines);
    }
    return std::make_unique<ChildProcess>(std::vector<std::string>{Path(name)}, environment);
}

std::unique_ptr<ChildProcess>
ReplacerRun::StartReplacer(const std::vector<std::string>& arguments) {
    std::string command = "exec";
    for (const std::string& argument : arguments)
        command += " " + ShellQuoted(argument);
    command += " 2>" + ShellQuoted(errors_.string()) + " </dev/null";
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{"sh", "-c", command},
        std::vector<std::string>{"QV_RECORD=" + record_.string()});
}

int ReplacerRun::RunReplacer(const std::vector<std::string>& arguments) {
    const auto replacer = StartReplacer(arguments);
    return replacer->WaitForExit(kRunLimit).value_or(-1);
}

std::string ReplacerRun::ReplacerErrors() const {
    return ReadWholeFile(errors_);
}

std::vector<std::vector<std::string>> ReplacerRun::Records() const {
    std::vector<std::vector<std::string>> records;
    for (const std::string& line : Split(ReadWholeFile(record_), '\n'))
        records.push_back(Split(line, '\t'));
    return records;
}

std::vector<pid_t> ReplacerRun::Starts(const std::vector<std::string>& arguments) const {
    std::vector<pid_t> starts;
    for (const auto& record : Records()) {
        if (record.size() >= 2 && record[0] == "started" &&
            std::vector<std::string>(record.begin() + 2, record.end()) == arguments)
            starts.push_back(std::stoi(record[1]));
    }
    return starts;
}

bool ReplacerRun::WaitForStarts(const std::vector<std::string>& arguments,
                                std::size_t count) const {
    return PollUntil([&] { return Starts(arguments).size() >= count; }, kRunLimit);
}

pid_t ReplacerRun::WaitForLaunchedReplacer() const {
    pid_t replacer = -1;
    PollUntil(
        [&] {
            for (const auto& record : Records()) {
                if (record.size() == 2 && record[0] == "replacer")
                    replacer = std::stoi(record[1]);
            }
            return replacer > 0;
        },
        kRunLimit);
    return replacer;
}

void ReplacerRun::EndStandins() {
    for (const auto& record : Records()) {
        if (record.size() >= 2 && record[0] == "started")
            End(std::stoi(record[1]));
    }
}

bool WaitForEnd(pid_t process) {
    return PollUntil(
        [process] {
            int status = 0;
            const pid_t reaped = waitpid(process, &status, WNOHANG);
            return reaped == process || (reaped < 0 && kill(process, 0) != 0);
        },
        kRunLimit);
}

bool End(pid_t process) {
    int status = 0;
    // Only a child of ours keeps its process id until it is waited for: any other id may
    // already belong to another process.
    if (waitpid(process, &status, WNOHANG) != 0)
        return false;
    kill(process, SIGTERM);
    return waitpid(process, &status, 0) == process;
}

bool WaitsAtLowestPriority(pid_t process) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(process) + "/task";
    return PollUntil(
        [&] {
            std::error_code missing;
            for (const auto& task : std::filesystem::directory_iterator(tasks, missing)) {
                errno = 0;
                const int nice = getpriority(
                    PRIO_PROCESS, static_cast<id_t>(std::stoi(task.path().filename().string())));
                if (errno == 0 && nice == kLowestPriorityNice)
                    return true;
            }
            return false;
        },
        kRunLimit);
}

} // namespace quorvex::test_support
