// Measures a translation request over HTTPS on loopback: the services' transport against the
// curl program making the same request (its own --write-out time, so process start-up is not
// counted), and a repeated request in the same session against the first. Each round starts
// a fresh session on a fresh thread, so its first request pays the TLS handshake as curl's does.
// Goals: the first request within 1.1x of curl's time; a repeated one at most half the first.
//
//   bench_https_transport
#include "services/HttpTransport.h"
#include "support/ScriptedHttpsServer.h"
#include "support/TestCertificates.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <memory>
#include <thread>
#include <vector>

using namespace quorvex;
using namespace quorvex::test_support;

namespace {

constexpr int kRounds = 5;
constexpr int kRepeats = 10;
const std::string kTarget = "/translate_a/single?client=gtx&sl=en&tl=zh-CN&dt=t&ie=UTF-8&oe=UTF-8"
                            "&q=Hello%20world";
const std::string kReply = R"([[["你好世界","Hello world",null,null,10]],null,"en"])";

using Seconds = std::chrono::duration<double>;

struct Round {
    double First = 0;
    double Repeated = 0; // the median of the repeats
    double Curl = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double SecondsOf(const std::string& url) {
    const auto start = std::chrono::steady_clock::now();
    const services::HttpReply reply = services::DefaultTransport().Get(url);
    const double seconds = Seconds(std::chrono::steady_clock::now() - start).count();
    if (reply.Status != 200 || reply.Body != kReply) {
        std::cerr << "wrong reply " << reply.Status << ": " << reply.Body << "\n";
        std::exit(1);
    }
    return seconds;
}

// curl's own measure of the same request: from its start of the transfer to the end.
double CurlSeconds(const std::string& url) {
    const std::string command = "curl -s -o /dev/null --noproxy '*' --cacert " +
                                TestCertificateFiles().AuthorityFile + " -w '%{time_total}' '" +
                                url + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 64> output{};
    if (!pipe || std::fgets(output.data(), output.size(), pipe.get()) == nullptr) {
        std::cerr << "failed: " << command << "\n";
        std::exit(1);
    }
    return std::atof(output.data());
}

Round MeasureRound(const std::string& url) {
    Round round;
    // A thread of its own: the transport is per thread, so this one starts without connections.
    std::thread([&] {
        round.First = SecondsOf(url);
        std::vector<double> repeats;
        for (int i = 0; i < kRepeats; ++i)
            repeats.push_back(SecondsOf(url));
        round.Repeated = Median(repeats);
    }).join();
    round.Curl = CurlSeconds(url);
    return round;
}

void Print(const std::string& what, const std::vector<double>& values) {
    const auto [least, most] = std::minmax_element(values.begin(), values.end());
    std::cout << std::fixed << std::setprecision(3) << what << ": median " << Median(values)
              << " (spread " << *least << " to " << *most << "; runs:";
    for (double value : values)
        std::cout << " " << value;
    std::cout << ")\n";
}

} // namespace

int main() {
    setenv("SSL_CERT_FILE", TestCertificateFiles().AuthorityFile.c_str(), 1);
    unsetenv("https_proxy");
    const LoopbackHttpServer server(
        [](const RecordedRequest&) { return Reply::WithBody(200, "OK", kReply).KeepAlive(); },
        TestTlsContext());
    const std::string url = server.Url(kTarget);
    SecondsOf(url); // libraries loaded and initialised, as in a running program
    std::vector<double> firstToCurl;
    std::vector<double> repeatedToFirst;
    std::vector<double> firstMs;
    std::vector<double> curlMs;
    for (int i = 0; i < kRounds; ++i) {
        const Round round = MeasureRound(url);
        firstMs.push_back(round.First * 1000);
        curlMs.push_back(round.Curl * 1000);
        firstToCurl.push_back(round.First / round.Curl);
        repeatedToFirst.push_back(round.Repeated / round.First);
    }
    Print("first request, ms", firstMs);
    Print("curl, ms", curlMs);
    Print("first / curl (goal <= 1.10)", firstToCurl);
    Print("repeated / first (goal <= 0.50)", repeatedToFirst);
    return 0;
}
