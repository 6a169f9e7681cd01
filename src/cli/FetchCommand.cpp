#include "cli/FetchCommand.h"

#include "cli/ProgressBar.h"
#include "download/upHTTP.h"
#include "platform/Terminal.h"

#include <chrono>
#include <cstdio>
#include <iostream>

namespace quorvex::cli {
namespace {

inline constexpr int kExitFailed = 1;
inline constexpr auto kProgressInterval = std::chrono::milliseconds(100);
inline constexpr int kMaxLoginAttempts = 3;

// Asks for whatever part of a login is missing; false when there is no terminal to ask on.
bool AskForLogin(const std::string& what, std::string& user, std::string& password) {
    if (user.empty()) {
        const auto typed = platform::AskOnTerminal(what + " user name: ", false);
        if (!typed)
            return false;
        user = *typed;
    }
    const auto typed = platform::AskOnTerminal(what + " password for " + user + ": ", true);
    if (!typed)
        return false;
    password = *typed;
    return true;
}

void WriteBody(TStream* stream) {
    auto* memory = dynamic_cast<TMemoryStream*>(stream);
    if (memory != nullptr && memory->Size() > 0)
        std::fwrite(memory->Memory(), 1, static_cast<size_t>(memory->Size()), stdout);
    std::fflush(stdout);
}

class FetchRun {
public:
    explicit FetchRun(const FetchOptions& options)
        : options_(options) {
        Configure();
        WireOutcomes();
        if (!options.quiet)
            WireProgress();
        WireLogins();
    }

    int Run() {
        std::uint32_t start = options_.rangeStart;
        if (options_.resume)
            start = ResumePoint();
        http_.FetchRange(start, options_.rangeEnd, true);
        if (progressShown_)
            std::cerr << '\n';
        std::cerr << (outcome_.empty() ? "OnTransferFailed" : outcome_) << std::endl;
        return completed_ ? 0 : kExitFailed;
    }

private:
    // One block before the end of what the file holds, so that the first block received
    // overlaps it and the engine can tell a file that is not the start of this resource (it
    // then fetches it again from the beginning).
    std::uint32_t ResumePoint() const {
        const std::int64_t held = std::max<std::int64_t>(GetFileSize64(options_.output), 0);
        const std::int64_t overlap = http_.TransferBufferSize();
        return static_cast<std::uint32_t>(std::max<std::int64_t>(held - overlap, 0));
    }

    void Configure() {
        http_.URL = options_.url;
        http_.OutputFileName = options_.output;
        http_.HTTPUsername = options_.user.value_or("");
        http_.HTTPPassword = options_.password.value_or("");
        if (options_.buffer)
            http_.SetTransferBufferSize(*options_.buffer);
        if (!options_.proxyHost.empty()) {
            http_.Proxy.AccessType = TupHTTPAccessType::atUseProxy;
            http_.Proxy.ProxyServer = options_.proxyHost;
            http_.Proxy.ProxyPort = options_.proxyPort;
            http_.Proxy.ProxyBypass = ""; // a proxy named on the command line is for every host
        }
        http_.Proxy.ProxyUsername = options_.proxyUser.value_or("");
        http_.Proxy.ProxyPassword = options_.proxyPassword.value_or("");
    }

    void Outcome(const std::string& line) {
        if (outcome_.empty())
            outcome_ = line;
    }

    void WireOutcomes() {
        http_.OnTransferComplete = [this](TComponent*, const std::string&, std::uint32_t size,
                                          TStream* stream) {
            WriteBody(stream);
            completed_ = true;
            Outcome("OnTransferComplete size=" + std::to_string(size));
        };
        http_.OnTransferBroken = [this](TComponent*, const std::string&, std::uint32_t total,
                                        std::uint32_t read, TStream* stream) {
            WriteBody(stream);
            Outcome("OnTransferBroken read=" + std::to_string(read) +
                    " total=" + std::to_string(total));
        };
        http_.OnHTTPStatusError = [this](TComponent*, int status, TStream*) {
            Outcome("OnHTTPStatusError status=" + std::to_string(status));
        };
        http_.OnServerUnreachable = [this](TComponent*) { Outcome("OnServerUnreachable"); };
        http_.OnNoOutput = [this](TComponent*) { Outcome("OnNoOutput"); };
        http_.OnTransferSkipped = [this](TComponent*) { Outcome("OnTransferSkipped"); };
        http_.OnTransferCancelled = [this](TComponent*) { Outcome("OnTransferCancelled"); };
        // OnTransferFailed accompanies the event that names the failure (it comes first before
        // OnNoOutput), so it is the outcome only when no other event came.
    }

    void WireProgress() {
        http_.OnDownloadProgress = [this](TComponent*, const std::string&, std::uint32_t total,
                                          std::uint32_t read, std::uint32_t, std::int32_t left,
                                          std::uint8_t percent, float rate, TStream*) {
            const auto now = std::chrono::steady_clock::now();
            if (now - lastProgress_ < kProgressInterval && read != total)
                return;
            lastProgress_ = now;
            progressShown_ = true;
            std::cerr << '\r' << ProgressLine({total, read, left, percent, rate}) << std::flush;
        };
    }

    void WireLogins() {
        http_.OnAuthorizationRequest = [this](TComponent*, const std::string& realm, bool& again) {
            // A login given on the command line that the server refuses is not asked again.
            if (options_.password || ++serverAttempts_ > kMaxLoginAttempts)
                return;
            again = AskForLogin("\"" + realm + "\"", http_.HTTPUsername, http_.HTTPPassword);
        };
        http_.OnProxyAuthenticationRequest = [this](TComponent*, std::string& user,
                                                    std::string& password, bool& again) {
            if (options_.proxyPassword || ++proxyAttempts_ > kMaxLoginAttempts)
                return;
            again = AskForLogin("Proxy", user, password);
        };
    }

    const FetchOptions& options_;
    TupCustomHTTP http_;
    std::string outcome_;
    bool completed_ = false;
    bool progressShown_ = false;
    int serverAttempts_ = 0;
    int proxyAttempts_ = 0;
    std::chrono::steady_clock::time_point lastProgress_{};
};

} // namespace

int RunFetch(const FetchOptions& options) {
    return FetchRun(options).Run();
}

} // namespace quorvex::cli
