#include "platform/InternetTransfer.h"

#include <algorithm>
#include <cstring>

namespace quorvex::platform {
namespace {

// Body bytes held for the reader before libcurl is paused, so memory stays flat.
inline constexpr std::size_t kMaxBufferedBody = 1 << 20;

bool IsFollowedRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A relative Location resolved against the address being fetched.
std::string ResolveLocation(CURL* easy, const std::string& location) {
    char* current = nullptr;
    curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &current);
    CURLU* url = curl_url();
    std::string resolved = location;
    char* text = nullptr;
    if (url != nullptr && current != nullptr &&
        curl_url_set(url, CURLUPART_URL, current, 0) == CURLUE_OK &&
        curl_url_set(url, CURLUPART_URL, location.c_str(), 0) == CURLUE_OK &&
        curl_url_get(url, CURLUPART_URL, &text, 0) == CURLUE_OK) {
        resolved = text;
        curl_free(text);
    }
    curl_url_cleanup(url);
    return resolved;
}

} // namespace

using internet::HeaderValue;

InternetRequest::Transfer::~Transfer() {
    if (added)
        curl_multi_remove_handle(multi, easy);
    curl_slist_free_all(headerList);
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
}

void InternetRequest::Transfer::Report(int status, const std::string& information) const {
    session->Report(status, information);
}

size_t InternetRequest::Transfer::OnHeader(char* data, size_t size, size_t count, void* context) {
    auto& self = *static_cast<Transfer*>(context);
    const std::string line(data, size * count);
    self.lastActivity = Clock::now();
    if (line.rfind("HTTP/", 0) == 0) {
        if (self.blockStatus == 0) {
            self.Report(kStatusRequestSent);
            self.Report(kStatusReceivingResponse);
        }
        self.block = {line};
        const auto space = line.find(' ');
        self.blockStatus = space == std::string::npos ? 0 : std::atoi(line.c_str() + space + 1);
        return size * count;
    }
    self.block.push_back(line);
    if (line != "\r\n" && line != "\n")
        return size * count;
    if (self.blockStatus < 200)
        return size * count; // an interim reply; the real one follows
    const auto location = HeaderValue(self.block, "Location");
    if (self.autoRedirect && IsFollowedRedirect(self.blockStatus) && location) {
        self.Report(kStatusRedirect, ResolveLocation(self.easy, *location));
        return size * count;
    }
    self.finalBlock = self.block;
    self.headersDone = true;
    self.Report(kStatusResponseReceived);
    return size * count;
}

size_t InternetRequest::Transfer::OnBody(char* data, size_t size, size_t count, void* context) {
    auto& self = *static_cast<Transfer*>(context);
    self.lastActivity = Clock::now();
    if (self.body.size() - self.bodyRead >= kMaxBufferedBody) {
        self.writePaused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (!self.headersDone) {
        self.finalBlock = self.block;
        self.headersDone = true;
    }
    self.body.append(data, size * count);
    return size * count;
}

size_t InternetRequest::Transfer::OnUpload(char* buffer, size_t size, size_t count, void* context) {
    auto& self = *static_cast<Transfer*>(context);
    const std::size_t waiting = self.upload.size() - self.uploadSent;
    if (waiting == 0) {
        if (self.uploadEnded)
            return 0;
        self.readPaused = true;
        return CURL_READFUNC_PAUSE;
    }
    const std::size_t n = std::min(waiting, size * count);
    std::memcpy(buffer, self.upload.data() + self.uploadSent, n);
    self.uploadSent += n;
    self.lastActivity = Clock::now();
    return n;
}

int InternetRequest::Transfer::OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t,
                                          curl_off_t) {
    const auto& self = *static_cast<Transfer*>(context);
    return self.abortRequested && self.abortRequested() ? 1 : 0;
}

int InternetRequest::Transfer::OnConnected(void* context, char* address, char*, int, int) {
    const auto& self = *static_cast<Transfer*>(context);
    self.Report(kStatusNameResolved, address);
    self.Report(kStatusConnectingToServer, address);
    self.Report(kStatusConnectedToServer, address);
    self.Report(kStatusSendingRequest);
    return CURL_PREREQFUNC_OK;
}

void InternetRequest::Transfer::Resume() {
    if (writePaused || readPaused) {
        writePaused = readPaused = false;
        curl_easy_pause(easy, CURLPAUSE_CONT);
    }
}

void InternetRequest::Transfer::Fail(CURLcode code) {
    done = true;
    result = code;
    if (added)
        curl_multi_remove_handle(multi, easy);
    added = false;
}

void InternetRequest::Transfer::CollectFinished() {
    int waiting = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &waiting)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        done = true;
        result = message->data.result;
        if (result == CURLE_OK)
            Report(kStatusRequestComplete);
    }
}

bool InternetRequest::Transfer::StalledLongerThan(std::uint32_t limitMs) const {
    return limitMs != 0 && Clock::now() - lastActivity > std::chrono::milliseconds(limitMs);
}

} // namespace quorvex::platform
