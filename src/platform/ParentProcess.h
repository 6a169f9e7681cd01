#pragma once

#include <optional>
#include <string>

namespace quorvex::platform {

// The parent of the calling process, held by a process descriptor so that its end can be
// awaited without any doubt about a reused process id.
class ParentProcess {
public:
    // The parent when it runs `executable`, as its image or as the script file an interpreter
    // was given; nullopt when it runs something else or has already ended.
    static std::optional<ParentProcess> IfRunning(const std::string& executable);

    ParentProcess(ParentProcess&& other) noexcept;
    ParentProcess& operator=(ParentProcess&& other) noexcept;
    ParentProcess(const ParentProcess&) = delete;
    ParentProcess& operator=(const ParentProcess&) = delete;
    ~ParentProcess();

    // Returns once the parent has ended; there is no time limit.
    void WaitForEnd() const;

private:
    explicit ParentProcess(int descriptor)
        : descriptor_(descriptor) {}
    int descriptor_ = -1;
};

} // namespace quorvex::platform
