#pragma once

#include "support/ScopedEnvironment.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::test_support {

// The user's default browser replaced for one test: temporary XDG folders whose mimeapps.list
// names a desktop entry for http URLs, whose program (in a folder with a blank in its path)
// records the arguments of every start. The XDG variables are restored on destruction.
class FakeBrowser {
public:
    // execTail follows the program's path on the Exec line.
    explicit FakeBrowser(const std::string& execTail = "%u",
                         const std::string& programName = "fake-browser");
    ~FakeBrowser();
    FakeBrowser(const FakeBrowser&) = delete;
    FakeBrowser& operator=(const FakeBrowser&) = delete;

    // Drops the desktop entry, so that only the fallback opener is left: a recording
    // xdg-open put first on PATH (restored on destruction too).
    void RemoveDefaultAndProvideOpener();

    // The arguments of each start so far, in the order their records were finished (starts
    // that overlap may finish in either order).
    std::vector<std::vector<std::string>> Starts() const;
    // Waits until at least count starts were recorded.
    bool WaitForStarts(std::size_t count) const;

    std::string ProgramPath() const { return program_.string(); }

private:
    void Set(const char* variable, const std::string& value);
    void WriteRecorder(const std::filesystem::path& path) const;

    std::filesystem::path root_;
    std::filesystem::path program_;
    std::filesystem::path records_;
    std::vector<std::unique_ptr<ScopedEnvironment>> settings_; // undone last first
};

} // namespace quorvex::test_support
