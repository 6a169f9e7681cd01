#pragma once

#include "download/upHTTP.h"
#include "support/FileServer.h"
#include "support/Files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

namespace quorvex::test_support {

// A body of `size` bytes that differ from position to position.
std::string Pattern(size_t size, char salt = 0);

// A FileServer serving `content` at `path`.
FileServerOptions Serving(std::string content, std::string path = "/file.bin");

// Records every event of a transfer component in order ("OnTransferComplete size=1000"), with
// whether it ran on the user-interface thread.
class EventLog {
public:
    explicit EventLog(TupCustomHTTP& http);

    // every event but progress, request ready, headers, status and redirection
    std::vector<std::string> Outcomes() const;
    std::vector<std::string> All() const;
    bool Has(const std::string& prefix) const;
    bool AllOnUiThread(const std::string& prefix) const;
    bool AnyOnUiThread(const std::string& prefix) const;
    int Count(const std::string& prefix) const;
    std::string Body() const { return body_; } // the memory stream of the final event
    std::vector<uint32_t> ProgressReads() const;
    size_t LargestCapacity() const { return largestCapacity_; }

private:
    void Add(const std::string& entry);
    void KeepBody(TStream* stream);

    mutable std::mutex mutex_;
    std::vector<std::string> entries_;
    std::vector<bool> onUi_;
    std::vector<uint32_t> progress_;
    std::string body_;
    size_t largestCapacity_ = 0;
};

// Per-test folder, no proxy from the environment, and a transfer component whose events are
// logged.
class HTTPTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string Output(const std::string& name = "out.bin") const;
    // Fetches `url` and waits; into the file `output`, or into memory when it is empty.
    void Fetch(const std::string& url, const std::string& output = {});

    std::filesystem::path folder_;
    TupCustomHTTP http_;
    EventLog log_{http_};
};

} // namespace quorvex::test_support
