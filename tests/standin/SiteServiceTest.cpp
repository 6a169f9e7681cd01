#include "standin/Standin.h"
#include "support/RawExchange.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <vector>

using namespace quorvex;

namespace {

namespace fs = std::filesystem;

std::string Get(const TStandin& standin, const std::string& target) {
    return test_support::ExchangeRaw(standin.Port(),
                                     "GET " + target + " HTTP/1.1\r\nHost: site\r\n\r\n");
}

std::string StatusLineOf(const std::string& reply) {
    return reply.substr(0, reply.find("\r\n"));
}

std::string BodyOf(const std::string& reply) {
    return reply.substr(reply.find("\r\n\r\n") + 4);
}

bool HasHeader(const std::string& reply, const std::string& line) {
    return reply.substr(0, reply.find("\r\n\r\n")).find("\r\n" + line + "\r\n") !=
           std::string::npos;
}

class SiteService : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(testing::TempDir()) / "site-service-updates";
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void WriteFile(const std::string& name, const std::string& contents) {
        std::ofstream(folder_ / name, std::ios::binary) << contents;
    }

    TSiteOptions Options() { return {folder_.string(), Recorder(reports_), Recorder(requests_)}; }
    std::function<void(const std::string&)> Recorder(std::vector<std::string>& lines) {
        return [this, &lines](const std::string& line) {
            const std::lock_guard lock(reportsMutex_);
            lines.push_back(line);
        };
    }

    fs::path folder_;
    std::mutex reportsMutex_;
    std::vector<std::string> reports_;
    std::vector<std::string> requests_;
};

TEST_F(SiteService, ServesTheFolderWithLengthAndModificationTime) {
    WriteFile("update.inf", "#version=1.3.3.10\n#url=http://site/Quorvex/quorvex\n");
    WriteFile("quorvex", std::string("\x7f"
                                     "ELF\0\1",
                                     6));
    using namespace std::chrono;
    const auto modified = sys_days(2008y / December / 8) + 10h + 20min + 30s;
    fs::last_write_time(folder_ / "quorvex", file_clock::from_sys(modified));
    const TStandin standin(0, Options());

    const std::string info = Get(standin, "/Quorvex/update.inf");
    EXPECT_EQ(StatusLineOf(info), "HTTP/1.1 200 OK");
    EXPECT_EQ(BodyOf(info), "#version=1.3.3.10\n#url=http://site/Quorvex/quorvex\n");
    EXPECT_TRUE(HasHeader(info, "Content-Type: text/plain"));

    const std::string program = Get(standin, "/Quorvex/quorvex");
    EXPECT_EQ(BodyOf(program), std::string("\x7f"
                                           "ELF\0\1",
                                           6));
    EXPECT_TRUE(HasHeader(program, "Content-Length: 6"));
    EXPECT_TRUE(HasHeader(program, "Last-Modified: Mon, 08 Dec 2008 10:20:30 GMT"));
    EXPECT_TRUE(HasHeader(program, "Content-Type: application/octet-stream"));

    // A publisher may change the folder while the stand-in runs.
    WriteFile("update.inf", "#version=1.3.3.11\n");
    EXPECT_EQ(BodyOf(Get(standin, "/Quorvex/update.inf")), "#version=1.3.3.11\n");
}

TEST_F(SiteService, ServesNothingOutsideTheFolderNorHiddenOrMissingFiles) {
    WriteFile(".hidden", "secret");
    fs::create_directories(folder_ / "sub");
    std::ofstream(folder_ / "sub" / "inner", std::ios::binary) << "inner";
    const TStandin standin(0, Options());
    for (const char* target :
         {"/Quorvex/missing.inf", "/Quorvex/.hidden", "/Quorvex/../site-service-updates",
          "/Quorvex/sub/inner", "/Quorvex/sub", "/Quorvex/"})
        EXPECT_EQ(StatusLineOf(Get(standin, target)), "HTTP/1.1 404 Not Found") << target;
    EXPECT_EQ(StatusLineOf(test_support::ExchangeRaw(
                  standin.Port(), "POST /Quorvex/x HTTP/1.1\r\nContent-Length: 0\r\n\r\n")),
              "HTTP/1.1 405 Method Not Allowed");
}

TEST_F(SiteService, AnswersReportsAndTellsEachOne) {
    const TStandin standin(0, Options());
    const std::string reply = Get(standin, "/Quorvex/Quorvex.asp?ver=1.3.3.9&r=42");
    EXPECT_EQ(StatusLineOf(reply), "HTTP/1.1 200 OK");
    EXPECT_NE(BodyOf(reply).find("<html>"), std::string::npos);
    Get(standin, "/Quorvex/Quorvex.asp?ver=1.3.3.9&r=1043");
    const std::lock_guard lock(reportsMutex_);
    EXPECT_EQ(reports_, (std::vector<std::string>{"usage report ver=1.3.3.9&r=42",
                                                  "usage report ver=1.3.3.9&r=1043"}));
    EXPECT_EQ(requests_, (std::vector<std::string>{"GET /Quorvex/Quorvex.asp?ver=1.3.3.9&r=42",
                                                   "GET /Quorvex/Quorvex.asp?ver=1.3.3.9&r=1043"}));
}

TEST(SiteServiceWithoutUpdates, ServesItsPagesButNoInformationFile) {
    const TStandin standin;
    EXPECT_EQ(StatusLineOf(Get(standin, "/Quorvex/help.html")), "HTTP/1.1 200 OK");
    EXPECT_EQ(StatusLineOf(Get(standin, "/Quorvex/Quorvex.asp?ver=1&r=2")), "HTTP/1.1 200 OK");
    EXPECT_EQ(StatusLineOf(Get(standin, "/Quorvex/update.inf")), "HTTP/1.1 404 Not Found");
}

} // namespace
