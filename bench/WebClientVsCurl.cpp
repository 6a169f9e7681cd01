// Measures TWebClient against curl on loopback, in this process against libcurl's easy
// interface (GETs of 64 MiB and 256 MiB, 200 form POSTs) and as processes of their own against
// the curl program (a 64 MiB GET, 200 POSTs). The POSTs each take a fresh connection, as the
// translation request makes them. Prints every round's ratio and the median (goal: at most
// 1.0x libcurl in process).
//
//   bench_web_client                 run the comparison
//   bench_web_client get URL SIZE    (child) one GET of SIZE bytes, body discarded
//   bench_web_client post URL COUNT  (child) COUNT form POSTs
#include "CurlEasy.h"
#include "standin/HttpServer.h"
#include "translate/WebClient.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

using namespace quorvex;

namespace {

constexpr size_t kMiB = size_t{1} << 20;
constexpr size_t kProcessBodySize = 64 * kMiB;
const std::vector<size_t> kInProcessBodySizes{64 * kMiB, 256 * kMiB};
constexpr int kPostCount = 200;
constexpr int kRounds = 5;
const std::vector<std::string> kFormLines{
    "langpair=en|zh-CN", "text=Hello world", "hl=zh-CN", "ie=UTF8",
    "complete=1",        "ewwindow=1",       "oe=UTF8"};
const std::string kEncodedForm =
    "langpair=en%7Czh%2DCN&text=Hello+world&hl=zh%2DCN&ie=UTF8&complete=1&ewwindow=1&oe=UTF8&";

std::string Head(size_t length) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(length) + "\r\nConnection: close\r\n\r\n";
}

std::string LargePath(size_t size) {
    return "/large" + std::to_string(size / kMiB);
}

// Serves GET /large64 and /large256 (bodies of that many MiB) and POST /translate_t (a short
// page), closing after each reply.
std::unique_ptr<THttpServer> StartServer() {
    auto replies = std::make_shared<std::map<std::string, std::string>>();
    for (size_t size : kInProcessBodySizes)
        (*replies)[LargePath(size)] = Head(size) + std::string(size, 'q');
    const std::string page = "<div id=result_box dir=\"ltr\">你好世界</div>";
    const std::string small = Head(page.size()) + page;
    return std::make_unique<THttpServer>([replies, small](const THttpRequest& request,
                                                          TServerConnection& connection) {
        auto large = replies->find(request.Path());
        connection.Send(request.Method == "GET" && large != replies->end() ? large->second : small);
        return false;
    });
}

size_t WebClientGet(const std::string& url) {
    TWebClient client;
    return client.Get(url).size();
}

void WebClientPosts(const std::string& url, int count) {
    for (int i = 0; i < count; ++i) {
        std::vector<std::string> lines = kFormLines;
        TWebClient client;
        client.Request.ContentType = "application/x-www-form-urlencoded";
        client.Request.AcceptEncoding.clear();
        client.Post(url, lines);
    }
}

void CurlPosts(const std::string& url, int count) {
    for (int i = 0; i < count; ++i)
        bench::CurlPost(url, kEncodedForm);
}

double SecondsOf(const std::function<void()>& work) {
    auto started = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

void RunOrExit(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::cerr << "failed: " << command << "\n";
        std::exit(1);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs both alternately, kRounds times; prints each round's ratio, the medians and the ratio of
// the medians.
void Compare(const std::string& what, const std::function<void()>& ours,
             const std::function<void()>& reference, const std::string& referenceName) {
    std::vector<double> oursTimes;
    std::vector<double> referenceTimes;
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        oursTimes.push_back(SecondsOf(ours));
        referenceTimes.push_back(SecondsOf(reference));
        ratios.push_back(oursTimes.back() / referenceTimes.back());
    }
    std::cout << std::fixed << std::setprecision(2) << what << ": TWebClient "
              << Median(oursTimes) * 1000 << " ms, " << referenceName << " "
              << Median(referenceTimes) * 1000 << " ms, ratio " << Median(ratios) << " (rounds:";
    for (double ratio : ratios)
        std::cout << " " << ratio;
    std::cout << ")" << std::endl;
}

void CheckSize(size_t size, size_t expected) {
    if (size != expected) {
        std::cerr << "wrong body size " << size << ", expected " << expected << "\n";
        std::exit(1);
    }
}

void CompareInProcess(const std::string& base) {
    for (size_t size : kInProcessBodySizes) {
        const std::string url = base + LargePath(size);
        Compare(
            "in process, GET " + std::to_string(size / kMiB) + " MiB",
            [&] { CheckSize(WebClientGet(url), size); },
            [&] { CheckSize(bench::CurlGet(url).size(), size); }, "libcurl into a string");
        Compare(
            "in process, GET " + std::to_string(size / kMiB) + " MiB",
            [&] { CheckSize(WebClientGet(url), size); },
            [&] { CheckSize(bench::CurlGetCounting(url), size); }, "libcurl body discarded");
    }
    const std::string url = base + "/translate_t";
    Compare(
        "in process, " + std::to_string(kPostCount) + " form POSTs",
        [&] { WebClientPosts(url, kPostCount); }, [&] { CurlPosts(url, kPostCount); }, "libcurl");
}

// A curl configuration doing the same POSTs, each with the body TWebClient sends.
std::string CurlPostConfig(const std::string& url, uint16_t port) {
    const std::string path = "/tmp/quorvex-bench-curl-" + std::to_string(port) + ".conf";
    std::ofstream config(path);
    for (int i = 0; i < kPostCount; ++i) {
        config << (i > 0 ? "next\n" : "") << "url = \"" << url << "\"\n"
               << "http1.0\noutput = \"/dev/null\"\nsilent\n"
               << "data = \"" << kEncodedForm << "\"\n";
    }
    return path;
}

void CompareProcesses(const std::string& self, const std::string& base, uint16_t port) {
    const std::string large = base + LargePath(kProcessBodySize);
    Compare(
        "processes, GET " + std::to_string(kProcessBodySize / kMiB) + " MiB",
        [&] { RunOrExit(self + " get " + large + " " + std::to_string(kProcessBodySize)); },
        [&] { RunOrExit("curl -s --noproxy '*' -o /dev/null " + large); }, "curl");
    const std::string config = CurlPostConfig(base + "/translate_t", port);
    Compare(
        "processes, " + std::to_string(kPostCount) + " form POSTs",
        [&] { RunOrExit(self + " post " + base + "/translate_t " + std::to_string(kPostCount)); },
        [&] { RunOrExit("curl --noproxy '*' -K " + config); }, "curl");
    std::remove(config.c_str());
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    try {
        if (arguments.size() == 4 && arguments[1] == "get")
            return WebClientGet(arguments[2]) == std::stoull(arguments[3]) ? 0 : 1;
        if (arguments.size() == 4 && arguments[1] == "post") {
            WebClientPosts(arguments[2], std::stoi(arguments[3]));
            return 0;
        }
        std::unique_ptr<THttpServer> server = StartServer();
        const std::string base = "http://127.0.0.1:" + std::to_string(server->Port());
        CompareInProcess(base);
        CompareProcesses(arguments[0], base, server->Port());
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
}
