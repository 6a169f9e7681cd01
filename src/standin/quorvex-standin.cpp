// quorvex-standin: a loopback stand-in for the outside web services.
#include "platform/File.h"
#include "platform/TerminationSignals.h"
#include "standin/Standin.h"
#include "standin/WebTranslators.h"

#include <charconv>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string_view>

namespace {

constexpr int kBadUsage = 2;

const std::string kHelp =
    R"(Usage: quorvex-standin [--port N] [--updates DIR] [--tls CERT KEY] [--log]

Serves on 127.0.0.1 what Quorvex asks of the outside web services, so that it runs end to end
without the internet:
  POST /translate_t   the translation service: the form fields langpair and text in, a UTF-8
                      page with the translation between the result markers out. English and
                      Chinese are translated word by word from a small built-in glossary;
                      unknown words, and other languages, stay as they are.
  GET|POST /translate_a/single   Google's web endpoint (client=gtx, sl, tl, q): a JSON array
                      whose element 0 holds a segment per line and a transliteration segment
                      with null for its translation.
  POST /translate     LibreTranslate: a JSON body {q, source, target} in, {"translatedText"}
                      out; {"error"} with 400 for a missing field or a language it lacks.
  GET|POST /api/trans/vip/translate   Baidu Fanyi: the fields q, from, to, appid, salt and
                      sign; it accepts the App ID )" +
    std::string(quorvex::kStandinBaiduAppId) + R"( with the key )" +
    std::string(quorvex::kStandinBaiduKey) + R"( (sign = MD5 of
                      appid, q, salt and key) and answers Baidu's error_code and error_msg with
                      status 200 for another App ID (52003) or a wrong sign (54001).
  GET /s              the web search's dictionary: the key wd holds a word as percent-encoded
                      GBK bytes; a GBK page with the dictionary markers around an entry comes
                      back for a word made of glossary words, the no-entry marker otherwise.
  GET /Quorvex/Quorvex.asp   the maker's usage report: a small page; prints
                      "usage report " and the query (ver=...&r=...) for every report.
  GET /Quorvex/help.html     the maker's usage instructions.
  GET /Quorvex/NAME   with --updates, the file NAME of DIR (the update information file
                      update.inf and the files it lists), with Content-Length and
                      Last-Modified, read afresh on every request; 404 when it is missing.
Malformed requests are answered with 400 and a message saying why.

  --port N        listen on port N (default 0: any free port)
  --updates DIR   serve the files of DIR under /Quorvex/
  --tls CERT KEY  speak HTTPS only, with the PEM certificate (chain) CERT and its key KEY
  --log           also print "request METHOD TARGET" for every request

Prints "listening on 127.0.0.1:PORT" (or "https://127.0.0.1:PORT" with --tls) once it listens, then serves until SIGINT or SIGTERM.
)";

int Usage(const std::string& problem) {
    std::cerr << "quorvex-standin: " << problem << "\n"
              << "Try 'quorvex-standin --help'.\n";
    return kBadUsage;
}

// Lines come from the connection threads; each goes out whole.
void PrintLine(const std::string& line) {
    static std::mutex outputMutex;
    const std::lock_guard lock(outputMutex);
    std::cout << line << std::endl;
}

} // namespace

int main(int argc, char** argv) {
    uint16_t port = 0;
    quorvex::TSiteOptions site{{}, PrintLine, {}};
    std::string certificate;
    std::string key;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--help") {
            std::cout << kHelp;
            return 0;
        }
        if (argument == "--log") {
            site.OnRequest = [](const std::string& line) { PrintLine("request " + line); };
            continue;
        }
        if (argument == "--tls") {
            if (i + 2 >= argc)
                return Usage("--tls needs a certificate file and a key file");
            certificate = argv[++i];
            key = argv[++i];
            continue;
        }
        if ((argument != "--port" && argument != "--updates") || i + 1 == argc)
            return Usage("unknown argument '" + std::string(argument) + "'");
        std::string_view value = argv[++i];
        if (argument == "--updates") {
            if (!quorvex::platform::IsDirectory(std::string(value)))
                return Usage("the updates folder '" + std::string(value) + "' is not a folder");
            site.UpdatesFolder = value;
            continue;
        }
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
        if (error != std::errc() || end != value.data() + value.size())
            return Usage("the port '" + std::string(value) + "' is not a number from 0 to 65535");
    }
    try {
        quorvex::platform::BlockTerminationSignals();
        std::shared_ptr<const quorvex::platform::TlsServerContext> tls;
        if (!certificate.empty())
            tls = std::make_shared<quorvex::platform::TlsServerContext>(certificate, key);
        quorvex::TStandin standin(port, site, tls);
        std::cout << "listening on " << (tls ? "https://" : "") << "127.0.0.1:" << standin.Port()
                  << std::endl;
        quorvex::platform::WaitForTerminationSignal();
    } catch (const std::exception& failure) {
        std::cerr << "quorvex-standin: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
