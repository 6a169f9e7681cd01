#include "platform/HttpsFailureReason.h"

#include <chrono>

namespace quorvex::platform {
namespace {

// The host part of `url`, or the whole URL when libcurl cannot split it.
std::string HostOf(const std::string& url) {
    std::string host = url;
    if (CURLU* parts = curl_url()) {
        char* name = nullptr;
        if (curl_url_set(parts, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
            curl_url_get(parts, CURLUPART_HOST, &name, 0) == CURLUE_OK)
            host = name;
        curl_free(name);
        curl_url_cleanup(parts);
    }
    return host;
}

std::string WhatWentWrong(CURLcode code, const std::string& host, Milliseconds limit) {
    switch (code) {
    case CURLE_PEER_FAILED_VERIFICATION:
        return host + " 的证书不受信任";
    case CURLE_SSL_CACERT_BADFILE:
        return "无法读取受信任的证书";
    case CURLE_SSL_CONNECT_ERROR:
        return "与 " + host + " 的安全连接失败";
    case CURLE_COULDNT_RESOLVE_HOST:
        return "找不到服务器 " + host;
    case CURLE_COULDNT_RESOLVE_PROXY:
        return "找不到代理服务器";
    case CURLE_COULDNT_CONNECT:
        return "无法连接到 " + host;
    case CURLE_OPERATION_TIMEDOUT:
        return host + " 在 " +
               std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) +
               " 秒内没有回答";
    case CURLE_UNSUPPORTED_PROTOCOL:
        return "只用 HTTPS 连接，不转到明文 HTTP";
    case CURLE_TOO_MANY_REDIRECTS:
        return host + " 转向的次数太多";
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return "与 " + host + " 的连接中断";
    default:
        return "访问 " + host + " 失败：" + curl_easy_strerror(code);
    }
}

} // namespace

std::string HttpsFailureReason(CURLcode code, const std::string& detail, const std::string& url,
                               Milliseconds limit) {
    std::string reason = WhatWentWrong(code, HostOf(url), limit);
    if (!detail.empty())
        reason += "（" + detail + "）";
    return reason;
}

} // namespace quorvex::platform
