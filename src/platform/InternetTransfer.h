#pragma once

// The parts of the internet library its source files share; nothing outside src/platform/
// includes this.
#include "platform/Internet.h"

#include <chrono>
#include <curl/curl.h>

namespace quorvex::platform {
namespace internet {

using Clock = std::chrono::steady_clock;

// The text without the blanks and line ends around it.
std::string Trimmed(std::string_view text);

// The value of the first header called `name` (any case) among a reply's header lines (the
// status line first); nullopt when absent.
std::optional<std::string> HeaderValue(const std::vector<std::string>& lines,
                                       std::string_view name);

// The bypass list of a named proxy (entries separated by ";", "," or blanks) in libcurl's form.
std::string NoProxyList(const std::string& bypass);

} // namespace internet

using internet::Clock;

// The libcurl side of one request: the handles, the reply as it arrives, the upload feed.
struct InternetRequest::Transfer {
    const InternetSession* session = nullptr;
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    curl_slist* headerList = nullptr;
    bool added = false;
    bool autoRedirect = true;
    std::function<bool()> abortRequested;
    RequestTimeouts timeouts;
    Clock::time_point lastActivity = Clock::now();

    // the reply
    std::vector<std::string> block; // status line and header lines of the reply being read
    std::vector<std::string> finalBlock;
    int blockStatus = 0;
    bool headersDone = false;
    bool done = false;
    CURLcode result = CURLE_OK;
    std::string body;
    std::size_t bodyRead = 0;
    bool writePaused = false;

    // the upload
    std::string upload;
    std::size_t uploadSent = 0;
    bool uploadEnded = false;
    bool readPaused = false;

    ~Transfer();
    void Report(int status, const std::string& information = {}) const;

    // libcurl's callbacks; context is the transfer.
    static size_t OnHeader(char* data, size_t size, size_t count, void* context);
    static size_t OnBody(char* data, size_t size, size_t count, void* context);
    static size_t OnUpload(char* buffer, size_t size, size_t count, void* context);
    static int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static int OnConnected(void* context, char* address, char*, int, int);

    void Resume();
    void Fail(CURLcode code);
    void CollectFinished();
    bool StalledLongerThan(std::uint32_t limitMs) const;
};

} // namespace quorvex::platform
