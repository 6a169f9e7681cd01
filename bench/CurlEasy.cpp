#include "CurlEasy.h"

#include <curl/curl.h>
#include <memory>
#include <stdexcept>

namespace quorvex::bench {
namespace {

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

size_t AppendToString(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

size_t AddToCount(char*, size_t size, size_t count, void* target) {
    *static_cast<size_t*>(target) += size * count;
    return size * count;
}

void Perform(CURL* easy, const std::string& url, curl_write_callback write, void* target) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, write);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, target);
    const CURLcode result = curl_easy_perform(easy);
    if (result != CURLE_OK)
        throw std::runtime_error(std::string("curl: ") + curl_easy_strerror(result));
}

std::string PerformIntoString(CURL* easy, const std::string& url) {
    std::string body;
    Perform(easy, url, AppendToString, &body);
    return body;
}

std::unique_ptr<CURL, EasyCleanup> NewEasy() {
    std::unique_ptr<CURL, EasyCleanup> easy(curl_easy_init());
    if (!easy)
        throw std::runtime_error("curl_easy_init failed");
    return easy;
}

} // namespace

std::string CurlGet(const std::string& url) {
    auto easy = NewEasy();
    return PerformIntoString(easy.get(), url);
}

size_t CurlGetCounting(const std::string& url) {
    auto easy = NewEasy();
    size_t count = 0;
    Perform(easy.get(), url, AddToCount, &count);
    return count;
}

std::string CurlPost(const std::string& url, const std::string& body) {
    auto easy = NewEasy();
    curl_easy_setopt(easy.get(), CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    return PerformIntoString(easy.get(), url);
}

} // namespace quorvex::bench
