#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex::platform {

// A small internet library on libcurl that keeps the steps of a WinINet-style transfer: open a
// session, connect, open a request, add headers, send, query status and headers, read (or
// write) one block at a time, close. libcurl pushes data through callbacks; the request pulls
// it: reading a block drives libcurl until that much is buffered or the transfer ends.

// Connection-status numbers, as the status callback reports them.
inline constexpr int kStatusResolvingName = 10;
inline constexpr int kStatusNameResolved = 11;
inline constexpr int kStatusConnectingToServer = 20;
inline constexpr int kStatusConnectedToServer = 21;
inline constexpr int kStatusSendingRequest = 30;
inline constexpr int kStatusRequestSent = 31;
inline constexpr int kStatusReceivingResponse = 40;
inline constexpr int kStatusResponseReceived = 41;
inline constexpr int kStatusHandleCreated = 60;
inline constexpr int kStatusHandleClosing = 70;
inline constexpr int kStatusRequestComplete = 100;
inline constexpr int kStatusRedirect = 110;

// Status number and its information (the new address for a redirect, else empty).
using StatusCallback = std::function<void(int status, const std::string& information)>;

enum class ProxyAccess {
    Preconfigured, // the proxy the environment names (http_proxy, https_proxy, no_proxy)
    Direct,
    Named, // the proxy given to the session, with its bypass list
};

struct SessionSettings {
    std::string userAgent;
    ProxyAccess access = ProxyAccess::Preconfigured;
    std::string proxy;  // "host:port" for ProxyAccess::Named
    std::string bypass; // hosts separated by ";" or blanks, for ProxyAccess::Named
    bool offline = false;
};

class InternetSession {
public:
    InternetSession(SessionSettings settings, StatusCallback onStatus);
    const SessionSettings& Settings() const { return settings_; }
    void Report(int status, const std::string& information = {}) const;

private:
    SessionSettings settings_;
    StatusCallback onStatus_;
};

// Where requests go; connecting to the server happens when a request is sent.
struct InternetConnection {
    const InternetSession& session;
    std::string scheme;
    std::string host;
    std::uint16_t port = 0;
    std::string user;
    std::string password;
};

struct RequestFlags {
    bool autoRedirect = true;
    bool keepConnection = true;
    bool cookies = true;
    bool authentication = true;
    bool pragmaNoCache = false;
    bool ignoreCertificateName = false;
    bool ignoreUnknownAuthority = false;
    bool allowRedirectToHttp = false;  // from https
    bool allowRedirectToHttps = false; // from http
};

struct RequestTimeouts {
    std::uint32_t connectMs = 0; // 0 = the library's default
    std::uint32_t receiveMs = 0; // longest wait for the next bytes of the reply; 0 = none
    std::uint32_t sendMs = 0;    // longest wait for an upload block to go out; 0 = none
};

class InternetRequest {
public:
    InternetRequest(const InternetConnection& connection, std::string_view verb,
                    std::string_view object, std::string_view referer, std::string_view accept,
                    const RequestFlags& flags);
    ~InternetRequest();
    InternetRequest(const InternetRequest&) = delete;
    InternetRequest& operator=(const InternetRequest&) = delete;

    void SetCredentials(const std::string& user, const std::string& password);
    void SetProxyCredentials(const std::string& user, const std::string& password);
    void SetTimeouts(const RequestTimeouts& timeouts);
    void SetIgnoreUnknownAuthority();
    // Polled while the request waits; returning true aborts what is going on.
    void SetAbortCheck(std::function<bool()> abortRequested);

    // Adds "Name: value" lines (CR LF separated); replace mode replaces same-named headers.
    bool AddHeaders(std::string_view text, bool replace);

    // Sends the request (with extra header lines and a body) and waits for the reply's headers.
    bool Send(std::string_view headers, std::string_view body);
    // Starts a request whose body of totalLength bytes follows through Write; EndRequest waits
    // for the reply's headers.
    bool SendEx(std::string_view headers, std::uint64_t totalLength);
    bool Write(const char* data, std::size_t size, std::size_t& written);
    bool EndRequest();

    // The reply's status code, 0 before there is one.
    int StatusCode() const { return status_; }
    // The value of the reply's first header of that name (any case); nullopt when absent.
    std::optional<std::string> QueryHeader(std::string_view name) const;
    // Status line and header lines of the reply, each ending in CR LF, then an empty line.
    std::string RawHeaders() const;

    // Reads up to size bytes of the body; count 0 means the end. False when the transfer failed.
    bool Read(char* buffer, std::size_t size, std::size_t& count);

private:
    struct Transfer;

    bool Start(std::string_view headers);
    bool Pump(const std::function<bool()>& satisfied);
    void ResetReply();

    const InternetConnection& connection_;
    RequestFlags flags_;
    bool post_;
    std::string url_;
    std::vector<std::pair<std::string, std::string>> headers_;
    std::unique_ptr<Transfer> transfer_;
    int status_ = 0;
};

} // namespace quorvex::platform
