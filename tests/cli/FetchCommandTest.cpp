#include "download/HTTPTestKit.h"
#include "support/LoopbackProxy.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace quorvex::test_support;

namespace {

inline constexpr int kRunLimitMs = 60000;

struct FetchResult {
    int exitCode = -1;
    std::string out;
    std::string err;

    // The last line on standard error: the outcome.
    std::string Outcome() const {
        std::string text = err;
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        return text.substr(text.find_last_of("\r\n") + 1);
    }
};

FetchResult RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
    QProcess process;
    QStringList list;
    for (const auto& argument : arguments)
        list << QString::fromStdString(argument);
    process.start(QString::fromStdString(program), list);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(kRunLimitMs));
    FetchResult run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

FetchResult RunFetch(const std::vector<std::string>& arguments) {
    return RunProgram(QUORVEX_FETCH_PATH, arguments);
}

FileServerOptions Serving(size_t size) {
    FileServerOptions options;
    options.Content = std::make_shared<const std::string>(Pattern(size));
    return options;
}

} // namespace

using FetchCommand = HTTPTest;

TEST_F(FetchCommand, DownloadsToAFileWithProgressAndEndsWithTheOutcome) {
    FileServer server(Serving(200000));
    const FetchResult run = RunFetch({server.FileUrl(), "-o", Output(), "--buffer", "65536"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Outcome(), "OnTransferComplete size=200000");
    EXPECT_NE(run.err.find("100%"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(Output()), Pattern(200000));
    EXPECT_TRUE(run.out.empty());
}

TEST_F(FetchCommand, WithoutOutputFileTheBodyGoesToStandardOutput) {
    FileServer server(Serving(5000));
    const FetchResult run = RunFetch({server.FileUrl(), "--quiet"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Pattern(5000));
    EXPECT_EQ(run.err, "OnTransferComplete size=5000\n");
}

TEST_F(FetchCommand, ResumeAsksForTheRestOfAPartialFileFromOneBlockBeforeItsEnd) {
    FileServer server(Serving(30000));
    WriteWholeFile(Output(), Pattern(30000).substr(0, 12000));
    const FetchResult run = RunFetch({server.FileUrl(), "-o", Output(), "--resume", "--quiet"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Outcome(), "OnTransferComplete size=30000");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Headers.Value("Range"), "bytes=7904-"); // 12000 - 4096
    EXPECT_EQ(ReadWholeFile(Output()), Pattern(30000));
}

TEST_F(FetchCommand, ResumeOfAFileThatIsNotTheStartOfTheResourceFetchesItAgain) {
    FileServer server(Serving(30000));
    WriteWholeFile(Output(), Pattern(12000, 9));
    const FetchResult run =
        RunFetch({server.FileUrl(), "-o", Output(), "--resume", "--quiet", "--buffer", "1000"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Outcome(), "OnTransferComplete size=30000");
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0].Headers.Value("Range"), "bytes=11000-");
    EXPECT_FALSE(server.Requests()[1].Headers.Has("Range"));
    EXPECT_EQ(ReadWholeFile(Output()), Pattern(30000));
}

TEST_F(FetchCommand, ResumingACompleteFileChecksItsLastBlockAndCompletes) {
    FileServer server(Serving(8000));
    WriteWholeFile(Output(), Pattern(8000));
    const FetchResult run = RunFetch({server.FileUrl(), "-o", Output(), "--resume", "--quiet"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Outcome(), "OnTransferComplete size=8000");
    EXPECT_EQ(server.Requests().at(0).Headers.Value("Range"), "bytes=3904-");
    EXPECT_EQ(ReadWholeFile(Output()), Pattern(8000));
}

TEST_F(FetchCommand, OutputThatCannotBeWrittenFailsTheRun) {
    FileServer server(Serving(100000));
    // Files may not grow beyond 10000 bytes, and a write past that fails instead of raising
    // SIGXFSZ (the ignored signal is inherited).
    const std::string command = "trap '' XFSZ; exec prlimit --fsize=10000 '" +
                                std::string(QUORVEX_FETCH_PATH) + "' '" + server.FileUrl() +
                                "' -o '" + Output() + "' --quiet";
    const FetchResult run = RunProgram("/bin/sh", {"-c", command});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.Outcome(), "OnTransferBroken read=10000 total=100000");
}

TEST_F(FetchCommand, FailuresEndWithTheirEventAndANonZeroStatus) {
    auto options = Serving(1000);
    options.CloseAfter = 600;
    FileServer broken(options);
    const FetchResult cut = RunFetch({broken.FileUrl(), "-o", Output(), "--quiet"});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.Outcome(), "OnTransferBroken read=600 total=1000");
    const FetchResult missing =
        RunFetch({broken.Url("/nothing"), "-o", Output("missing.bin"), "--quiet"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.Outcome(), "OnHTTPStatusError status=404");
    EXPECT_FALSE(std::filesystem::exists(Output("missing.bin")));
    const FetchResult usage = RunFetch({"--bogus"});
    EXPECT_EQ(usage.exitCode, 2);
}

TEST_F(FetchCommand, GivenLoginsAreUsedAndARefusedOneIsNotAskedAgain) {
    auto options = Serving(4000);
    options.Realm = "Files";
    options.Login = "ann:secret";
    FileServer server(options);
    const FetchResult good = RunFetch({server.FileUrl(), "--user", "ann:secret", "--quiet"});
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.out, Pattern(4000));
    const FetchResult bad = RunFetch({server.FileUrl(), "--user", "ann:wrong", "--quiet"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.Outcome(), "OnHTTPStatusError status=401");
}

TEST_F(FetchCommand, ProxyWithLogin) {
    FileServer origin(Serving(2500));
    LoopbackProxy proxy("pat:pp");
    const std::string at = "127.0.0.1:" + std::to_string(proxy.Port());
    const FetchResult run =
        RunFetch({origin.FileUrl(), "--proxy", at, "--proxy-user", "pat:pp", "--quiet"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Pattern(2500));
    EXPECT_EQ(proxy.Requests().size(), 1u);
    const FetchResult refused =
        RunFetch({origin.FileUrl(), "--proxy", at, "--proxy-user", "pat:no", "--quiet"});
    EXPECT_EQ(refused.Outcome(), "OnHTTPStatusError status=407");
}
