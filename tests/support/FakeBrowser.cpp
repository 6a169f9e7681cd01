#include "support/FakeBrowser.h"

#include "support/Waiting.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quorvex::test_support {
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

FakeBrowser::FakeBrowser(const std::string& execTail, const std::string& programName) {
    root_ = fs::path(testing::TempDir()) / ("fake-browser-" + std::to_string(getpid()));
    fs::remove_all(root_);
    program_ = root_ / "browser bin" / programName;
    records_ = root_ / "records";
    for (const auto& folder : {program_.parent_path(), records_, root_ / "config",
                               root_ / "data" / "applications", root_ / "empty"})
        fs::create_directories(folder);
    WriteRecorder(program_);
    std::ofstream(root_ / "data" / "applications" / "fake-browser.desktop")
        << "[Desktop Entry]\nType=Application\nName=Fake Browser\nExec=\"" << program_.string()
        << "\" " << execTail << "\n";
    std::ofstream(root_ / "config" / "mimeapps.list")
        << "[Default Applications]\nx-scheme-handler/http=fake-browser.desktop;\n";
    Set("XDG_CONFIG_HOME", (root_ / "config").string());
    Set("XDG_DATA_HOME", (root_ / "data").string());
    Set("XDG_CONFIG_DIRS", (root_ / "empty").string());
    Set("XDG_DATA_DIRS", (root_ / "empty").string());
}

FakeBrowser::~FakeBrowser() {
    while (!settings_.empty())
        settings_.pop_back();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void FakeBrowser::Set(const char* variable, const std::string& value) {
    settings_.push_back(std::make_unique<ScopedEnvironment>(variable, value));
}

void FakeBrowser::WriteRecorder(const fs::path& path) const {
    // One record file per start, one argument per line.
    std::ofstream(path) << "#!/bin/sh\nrecord=$(mktemp '" << records_.string()
                        << "/start.XXXXXX')\nprintf '%s\\n' \"$0\" \"$@\" > \"$record.tmp\"\n"
                        << "mv \"$record.tmp\" \"$record.done\"\nrm -f \"$record\"\n";
    fs::permissions(path, fs::perms::owner_all);
}

void FakeBrowser::RemoveDefaultAndProvideOpener() {
    fs::remove(root_ / "config" / "mimeapps.list");
    const fs::path opener = root_ / "opener" / "xdg-open";
    fs::create_directories(opener.parent_path());
    WriteRecorder(opener);
    const char* path = std::getenv("PATH");
    Set("PATH", opener.parent_path().string() + ":" + (path ? path : "/usr/bin:/bin"));
}

std::vector<std::vector<std::string>> FakeBrowser::Starts() const {
    std::vector<fs::path> records;
    for (const auto& entry : fs::directory_iterator(records_))
        if (entry.path().extension() == ".done")
            records.push_back(entry.path());
    std::sort(records.begin(), records.end(), [](const fs::path& a, const fs::path& b) {
        return fs::last_write_time(a) < fs::last_write_time(b);
    });
    std::vector<std::vector<std::string>> starts;
    for (const auto& record : records)
        starts.push_back(Lines(record));
    return starts;
}

bool FakeBrowser::WaitForStarts(std::size_t count) const {
    return PollUntil([&] { return Starts().size() >= count; });
}

} // namespace quorvex::test_support
