// Measures TWebClient against curl on loopback, each as a process of its own: (a) a GET of a
// 64 MiB body, (b) 200 sequential form POSTs, each on a fresh connection as the translation
// request makes them. Prints the median times and the ratios (goal: within 1.1x of curl).
//
//   bench_web_client                 run the comparison
//   bench_web_client get URL         (child) one GET, body discarded
//   bench_web_client post URL COUNT  (child) COUNT form POSTs
#include "standin/HttpServer.h"
#include "translate/WebClient.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

using namespace quorvex;

namespace {

constexpr size_t kLargeBodySize = size_t{64} << 20;
constexpr int kPostCount = 200;
constexpr int kRounds = 5;
const std::vector<std::string> kFormLines{
    "langpair=en|zh-CN", "text=Hello world", "hl=zh-CN", "ie=UTF8",
    "complete=1",        "ewwindow=1",       "oe=UTF8"};

std::string Head(size_t length) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(length) + "\r\nConnection: close\r\n\r\n";
}

// Serves GET /large (the 64 MiB body) and POST /translate_t (a short page), closing after each.
std::unique_ptr<THttpServer> StartServer() {
    auto large = std::make_shared<const std::string>(Head(kLargeBodySize) +
                                                     std::string(kLargeBodySize, 'q'));
    const std::string page = "<div id=result_box dir=\"ltr\">你好世界</div>";
    auto small = std::make_shared<const std::string>(Head(page.size()) + page);
    return std::make_unique<THttpServer>(
        [large, small](const THttpRequest& request, TServerConnection& connection) {
            connection.Send(request.Method == "GET" ? *large : *small);
            return false;
        });
}

double SecondsToRun(const std::string& command) {
    auto started = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        std::cerr << "failed: " << command << "\n";
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs both commands alternately and prints their median times and the ratio.
void Compare(const std::string& what, const std::string& ours, const std::string& curl) {
    std::vector<double> oursTimes;
    std::vector<double> curlTimes;
    for (int round = 0; round < kRounds; ++round) {
        oursTimes.push_back(SecondsToRun(ours));
        curlTimes.push_back(SecondsToRun(curl));
    }
    const double oursMedian = Median(oursTimes);
    const double curlMedian = Median(curlTimes);
    std::cout << what << ": TWebClient " << oursMedian * 1000 << " ms, curl " << curlMedian * 1000
              << " ms, ratio " << oursMedian / curlMedian << "\n";
}

// A curl configuration doing the same POSTs, each with the body TWebClient sends.
std::string CurlPostConfig(const std::string& url, uint16_t port) {
    const std::string path = "/tmp/quorvex-bench-curl-" + std::to_string(port) + ".conf";
    std::ofstream config(path);
    for (int i = 0; i < kPostCount; ++i) {
        config << (i > 0 ? "next\n" : "") << "url = \"" << url << "\"\n"
               << "http1.0\noutput = \"/dev/null\"\nsilent\n"
               << "data = \"langpair=en%7Czh%2DCN&text=Hello+world&hl=zh%2DCN&ie=UTF8&complete=1&"
                  "ewwindow=1&oe=UTF8&\"\n";
    }
    return path;
}

int RunComparison(const std::string& self) {
    std::unique_ptr<THttpServer> server = StartServer();
    const std::string base = "http://127.0.0.1:" + std::to_string(server->Port());
    Compare("GET 64 MiB", self + " get " + base + "/large",
            "curl -s -o /dev/null " + base + "/large");
    const std::string config = CurlPostConfig(base + "/translate_t", server->Port());
    Compare("200 form POSTs", self + " post " + base + "/translate_t " + std::to_string(kPostCount),
            "curl -K " + config);
    std::remove(config.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv, argv + argc);
    try {
        if (arguments.size() == 3 && arguments[1] == "get") {
            TWebClient client;
            return client.Get(arguments[2]).size() == kLargeBodySize ? 0 : 1;
        }
        if (arguments.size() == 4 && arguments[1] == "post") {
            for (int i = 0; i < std::stoi(arguments[3]); ++i) {
                std::vector<std::string> lines = kFormLines;
                TWebClient client;
                client.Request.ContentType = "application/x-www-form-urlencoded";
                client.Request.AcceptEncoding.clear();
                client.Post(arguments[2], lines);
            }
            return 0;
        }
        return RunComparison(arguments[0]);
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
}
