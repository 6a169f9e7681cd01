#include "HTTPTestKit.h"

#include "platform/UiThread.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorvex::test_support {

std::string Pattern(size_t size, char salt) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 251 + static_cast<size_t>(salt)) & 0xFF);
    return bytes;
}

FileServerOptions Serving(std::string content, std::string path) {
    FileServerOptions options;
    options.Content = std::make_shared<const std::string>(std::move(content));
    options.Path = std::move(path);
    return options;
}

EventLog::EventLog(TupCustomHTTP& http) {
    http.OnResponseHeaders = [this](TComponent*, int status, const std::string&, const std::string&,
                                    const std::string&, const std::string&, uint32_t length,
                                    const std::string&, TDateTime, TDateTime, TDateTime,
                                    const std::string&, bool&) {
        Add("OnResponseHeaders status=" + std::to_string(status) +
            " length=" + std::to_string(length));
    };
    http.OnDownloadProgress = [this](TComponent*, const std::string&, uint32_t, uint32_t read,
                                     uint32_t, int32_t, uint8_t, float, TStream* stream) {
        std::lock_guard lock(mutex_);
        progress_.push_back(read);
        if (auto* memory = dynamic_cast<TMemoryStream*>(stream))
            largestCapacity_ = std::max(largestCapacity_, memory->Capacity());
    };
    http.OnConnectionStatus = [this](TComponent*, int status, const std::string& text) {
        Add("OnConnectionStatus " + std::to_string(status) + " " + text);
    };
    http.OnRequestReady = [this](TComponent*, platform::InternetRequest* request) {
        Add(request != nullptr ? "OnRequestReady" : "OnRequestReady without a request");
    };
    http.OnRedirection = [this](TComponent*, const std::string& url) {
        Add("OnRedirection " + url);
    };
    http.OnTransferComplete = [this](TComponent*, const std::string&, uint32_t size,
                                     TStream* stream) {
        KeepBody(stream);
        Add("OnTransferComplete size=" + std::to_string(size) + (stream ? " memory" : " file"));
    };
    http.OnTransferBroken = [this](TComponent*, const std::string&, uint32_t total, uint32_t read,
                                   TStream* stream) {
        KeepBody(stream);
        Add("OnTransferBroken read=" + std::to_string(read) + " total=" + std::to_string(total));
    };
    http.OnHTTPStatusError = [this](TComponent*, int status, TStream* stream) {
        KeepBody(stream);
        Add("OnHTTPStatusError status=" + std::to_string(status));
    };
    http.OnTransferSkipped = [this](TComponent*) { Add("OnTransferSkipped"); };
    http.OnTransferFailed = [this](TComponent*) { Add("OnTransferFailed"); };
    http.OnTransferCancelled = [this](TComponent*) { Add("OnTransferCancelled"); };
    http.OnServerUnreachable = [this](TComponent*) { Add("OnServerUnreachable"); };
    http.OnNoOutput = [this](TComponent*) { Add("OnNoOutput"); };
}

void EventLog::Add(const std::string& entry) {
    std::lock_guard lock(mutex_);
    entries_.push_back(entry);
    onUi_.push_back(platform::IsUiThread());
}

void EventLog::KeepBody(TStream* stream) {
    if (auto* memory = dynamic_cast<TMemoryStream*>(stream)) {
        std::lock_guard lock(mutex_);
        body_ = memory->Text();
    }
}

std::vector<std::string> EventLog::All() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::vector<std::string> EventLog::Outcomes() const {
    std::vector<std::string> outcomes;
    for (const auto& entry : All())
        if (entry.rfind("OnConnectionStatus", 0) != 0 && entry.rfind("OnResponseHeaders", 0) != 0 &&
            entry.rfind("OnRedirection", 0) != 0 && entry.rfind("OnRequestReady", 0) != 0)
            outcomes.push_back(entry);
    return outcomes;
}

bool EventLog::Has(const std::string& prefix) const {
    return Count(prefix) > 0;
}

int EventLog::Count(const std::string& prefix) const {
    int count = 0;
    for (const auto& entry : All())
        count += entry.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

bool EventLog::AllOnUiThread(const std::string& prefix) const {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].rfind(prefix, 0) == 0 && !onUi_[i])
            return false;
    return true;
}

bool EventLog::AnyOnUiThread(const std::string& prefix) const {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].rfind(prefix, 0) == 0 && onUi_[i])
            return true;
    return false;
}

std::vector<uint32_t> EventLog::ProgressReads() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

void HTTPTest::SetUp() {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"})
        unsetenv(name);
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              ("quorvex-http-" + std::to_string(getpid()) + "-" + info->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

void HTTPTest::TearDown() {
    std::filesystem::remove_all(folder_);
}

std::string HTTPTest::Output(const std::string& name) const {
    return (folder_ / name).string();
}

void HTTPTest::Fetch(const std::string& url, const std::string& output) {
    http_.URL = url;
    http_.OutputFileName = output;
    http_.Fetch(true);
}

} // namespace quorvex::test_support
