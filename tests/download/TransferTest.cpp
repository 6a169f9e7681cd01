#include "HTTPTestKit.h"
#include "platform/FileAttributes.h"
#include "support/Pumping.h"

#include <atomic>
#include <gmock/gmock.h>
#include <limits>

using namespace quorvex;
using namespace quorvex::test_support;
using testing::ElementsAre;

namespace {

inline constexpr uint32_t kArchiveTemporary =
    platform::kAttributeArchive | platform::kAttributeTemporary;

uint32_t AttributesOf(const std::string& path) {
    return platform::GetFileAttributes(path).value_or(0xFFFFFFFF);
}

} // namespace

using TransferOutcome = HTTPTest;

TEST_F(TransferOutcome, CompleteBodyGoesToTheFileWhichGetsTheCompleteAttributes) {
    const std::string body = Pattern(1000);
    FileServer server(Serving(body));
    http_.URL = server.FileUrl();
    http_.OutputFileName = Output();
    EXPECT_TRUE(http_.Fetch(true));
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=1000 file"));
    EXPECT_EQ(log_.Count("OnResponseHeaders status=200 length=1000"), 1);
    EXPECT_EQ(ReadWholeFile(Output()), body);
    EXPECT_EQ(AttributesOf(Output()), platform::kAttributeArchive);
    EXPECT_TRUE(log_.AllOnUiThread("OnTransferComplete"));
    EXPECT_TRUE(log_.AllOnUiThread("OnResponseHeaders"));
    EXPECT_FALSE(log_.AllOnUiThread("OnConnectionStatus"));
    EXPECT_TRUE(log_.Has("OnConnectionStatus 41 Response received"));
    EXPECT_EQ(log_.Count("OnRequestReady"), 1);
    EXPECT_FALSE(log_.AllOnUiThread("OnRequestReady"));
    EXPECT_FALSE(http_.IsBusy());
}

TEST_F(TransferOutcome, AnOutputThatIsALinkIsReplacedAndNothingIsWrittenThroughIt) {
    const std::string elsewhere = Output("elsewhere.bin");
    WriteWholeFile(elsewhere, "not to be touched");
    std::filesystem::permissions(elsewhere, std::filesystem::perms::owner_read);
    std::filesystem::create_symlink(elsewhere, Output());
    FileServer server(Serving("body"));
    Fetch(server.FileUrl(), Output());
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=4 file"));
    EXPECT_FALSE(std::filesystem::is_symlink(Output()));
    EXPECT_EQ(ReadWholeFile(Output()), "body");
    EXPECT_EQ(ReadWholeFile(elsewhere), "not to be touched");
}

TEST_F(TransferOutcome, WithoutOutputFileTheBodyArrivesInMemory) {
    const std::string body = Pattern(70000);
    FileServer server(Serving(body));
    Fetch(server.FileUrl());
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=70000 memory"));
    EXPECT_EQ(log_.Body(), body);
    const auto reads = log_.ProgressReads();
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(reads.back(), 70000u);
}

TEST_F(TransferOutcome, BodyCutShortIsBrokenAndTheFileStaysIncomplete) {
    auto options = Serving(Pattern(1000));
    options.CloseAfter = 600;
    FileServer server(options);
    Fetch(server.FileUrl(), Output());
    EXPECT_THAT(log_.Outcomes(),
                ElementsAre("OnTransferBroken read=600 total=1000", "OnTransferFailed"));
    EXPECT_EQ(ReadWholeFile(Output()), Pattern(1000).substr(0, 600));
    EXPECT_EQ(AttributesOf(Output()), kArchiveTemporary);
}

TEST_F(TransferOutcome, WithoutContentLengthAnyBodyCompletes) {
    auto options = Serving(Pattern(3000));
    options.SendContentLength = false;
    FileServer server(options);
    Fetch(server.FileUrl());
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=3000 memory"));
}

TEST_F(TransferOutcome, StatusErrorLeavesNoFileAndHandsOverTheErrorPage) {
    FileServer server(Serving("x"));
    Fetch(server.Url("/missing.bin"), Output());
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnHTTPStatusError status=404", "OnTransferFailed"));
    EXPECT_EQ(log_.Body(), "<html>no such file</html>");
    EXPECT_FALSE(std::filesystem::exists(Output()));
}

TEST_F(TransferOutcome, NoServerIsUnreachable) {
    uint16_t port = 0;
    {
        FileServer gone(Serving("x"));
        port = gone.Port();
    }
    http_.URL = "http://127.0.0.1:" + std::to_string(port) + "/file.bin";
    http_.Timeouts.ConnectTimeout = 20000;
    http_.Fetch(true);
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnServerUnreachable", "OnTransferFailed"));
}

TEST_F(TransferOutcome, ReceiveTimeoutBreaksAStalledBody) {
    auto options = Serving(Pattern(3000));
    options.SlowPieceSize = 1000;
    options.SlowPause = Milliseconds(5000);
    FileServer server(options);
    http_.Timeouts.ReceiveTimeout = 300;
    Fetch(server.FileUrl());
    EXPECT_THAT(log_.Outcomes(),
                ElementsAre("OnTransferBroken read=0 total=3000", "OnTransferFailed"));
}

TEST_F(TransferOutcome, WaitingFetchThatTimesOutIsStoppedAndReleased) {
    auto options = Serving(Pattern(3000));
    options.SlowPieceSize = 1000;
    options.SlowPause = Milliseconds(2000);
    FileServer server(options);
    int timeouts = 0;
    http_.OnThreadWaitTimeout = [&](TComponent*, bool&) { ++timeouts; };
    http_.Thread().WaitTimeout = 300;
    http_.URL = server.FileUrl();
    http_.OutputFileName = Output();
    EXPECT_FALSE(http_.Fetch(true));
    EXPECT_EQ(timeouts, 1);
    EXPECT_FALSE(http_.IsBusy());
    EXPECT_TRUE(log_.Outcomes().empty());
    http_.Thread().WaitTimeout = 0;
    EXPECT_TRUE(http_.Fetch(true)); // released: the next fetch is accepted
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=3000 file"));
}

TEST_F(TransferOutcome, ClearingContinueSkipsTheBody) {
    FileServer server(Serving(Pattern(500)));
    http_.OnResponseHeaders = [](TComponent*, int, const std::string&, const std::string&,
                                 const std::string&, const std::string&, uint32_t,
                                 const std::string&, TDateTime, TDateTime, TDateTime,
                                 const std::string&, bool& go) { go = false; };
    Fetch(server.FileUrl(), Output());
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferSkipped"));
    EXPECT_FALSE(std::filesystem::exists(Output()));
}

TEST_F(TransferOutcome, ABodyThatCanNeverBeToldCompleteIsBroken) {
    const std::string body(5000, 'b');
    const struct {
        std::string head;
        uint64_t bound;
        std::string broken;
    } cases[] = {
        {"200 OK\r\nContent-Length: 99999999999999999999999", 0, "read=0 total=0"},
        {"206 Partial Content\r\nContent-Range: bytes 0-4999/9000\r\nContent-Length: 5000", 0,
         "read=0 total=5000"},
        {"200 OK\r\nContent-Length: 5000", 1000, "read=0 total=5000"},
        {"200 OK", 4096, "read=4096 total=0"}, // an endless body stops at the bound
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.head);
        ScriptedHttpServer server;
        server.Enqueue(Reply::Raw("HTTP/1.1 " + each.head + "\r\n\r\n" + body).Close());
        const auto before = log_.Outcomes().size();
        http_.MaxBodySize = each.bound;
        Fetch(server.Url("/body"));
        const auto outcomes = log_.Outcomes();
        EXPECT_EQ(
            std::vector<std::string>(outcomes.begin() + before, outcomes.end()),
            (std::vector<std::string>{"OnTransferBroken " + each.broken, "OnTransferFailed"}));
    }
}

TEST_F(TransferOutcome, HugeAnnouncedLengthDoesNotClaimTheMemoryUpFront) {
    ScriptedHttpServer server;
    server.Enqueue(
        Reply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 4294967295\r\n\r\n" + std::string(100, 'a'))
            .Close());
    Fetch(server.Url("/big"));
    EXPECT_THAT(log_.Outcomes(),
                ElementsAre("OnTransferBroken read=100 total=4294967295", "OnTransferFailed"));
    EXPECT_LE(log_.LargestCapacity(), kMaxPresizedMemoryOutput);
    EXPECT_GE(log_.LargestCapacity(), 100u);
}

TEST_F(TransferOutcome, TimeLeftOfAHugeAnnouncedLengthStaysInRange) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 4294967295\r\n\r\n")
                       .Delay(Milliseconds(1100)) // a whole second passes before the first byte
                       .Send("a")
                       .Close());
    std::vector<std::pair<uint32_t, int32_t>> figures; // elapsed, time left
    http_.OnDownloadProgress = [&](TComponent*, const std::string&, uint32_t, uint32_t,
                                   uint32_t elapsed, int32_t left, uint8_t, float,
                                   TStream*) { figures.emplace_back(elapsed, left); };
    Fetch(server.Url("/trickle"));
    ASSERT_EQ(figures.size(), 1u);
    const auto [elapsed, left] = figures[0];
    ASSERT_GE(elapsed, 1u);
    EXPECT_EQ(left, std::numeric_limits<int32_t>::max() - static_cast<int32_t>(elapsed));
}

TEST_F(TransferOutcome, SmallestBlockSizeReadsInBlocksOfThatSize) {
    FileServer server(Serving(Pattern(2000)));
    http_.SetTransferBufferSize(1); // raised to the smallest block, 255
    EXPECT_EQ(http_.TransferBufferSize(), kMinTransferBufferSize);
    Fetch(server.FileUrl());
    const auto reads = log_.ProgressReads();
    ASSERT_FALSE(reads.empty());
    uint32_t previous = 0;
    for (const uint32_t read : reads) {
        EXPECT_LE(read - previous, 255u);
        previous = read;
    }
    EXPECT_EQ(previous, 2000u);
    EXPECT_GE(reads.size(), 8u);
}

TEST_F(TransferOutcome, ExtraInformationIsPercentEncodedAndTheSchemeDefaultsToHttp) {
    FileServer server(Serving("ok"));
    Fetch(server.Host() + "/file.bin?q=a b+c");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Target, "/file.bin?q=a%20b%2Bc");
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=2 memory"));
}

TEST_F(TransferOutcome, RedirectIsReportedOnTheWorkerAndFollowed) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::WithBody(302, "Found", "", {"Location: /new"}));
    server.Enqueue(Reply::WithBody(200, "OK", "moved body"));
    Fetch(server.Url("/old"));
    EXPECT_TRUE(log_.Has("OnRedirection " + server.Url("/new")));
    EXPECT_FALSE(log_.AllOnUiThread("OnRedirection"));
    EXPECT_EQ(log_.Body(), "moved body");
}

TEST_F(TransferOutcome, SecondFetchWhileStartedIsRefused) {
    auto options = Serving(Pattern(2000));
    options.SlowPieceSize = 500;
    options.SlowPause = Milliseconds(100);
    FileServer server(options);
    http_.URL = server.FileUrl();
    EXPECT_TRUE(http_.Fetch(false));
    EXPECT_FALSE(http_.Fetch(false));
    ASSERT_TRUE(PumpUntil([&] { return log_.Has("OnTransferComplete"); }));
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(TransferOutcome, UploadSendsTheStreamInBlocks) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::WithBody(200, "OK", "stored"));
    std::vector<uint32_t> sent;
    http_.OnUploadProgress = [&](TComponent*, uint32_t, uint32_t bytes, uint32_t, int32_t, uint8_t,
                                 float) { sent.push_back(bytes); };
    auto body = std::make_unique<TMemoryStream>();
    const std::string data = Pattern(10000);
    body->Write(data.data(), data.size());
    http_.URL = server.Url("/upload");
    http_.Upload(std::move(body), "application/octet-stream", true);
    ASSERT_TRUE(server.WaitForRequests(1));
    const auto request = server.Requests()[0];
    EXPECT_EQ(request.Method, "POST");
    EXPECT_EQ(request.Body, data);
    EXPECT_EQ(request.Headers.Value("Content-Type"), "application/octet-stream");
    ASSERT_EQ(sent.size(), 3u); // 4096 + 4096 + 1808
    EXPECT_EQ(sent.back(), 10000u);
    EXPECT_EQ(log_.Body(), "stored");
}

// Resumes a download into an output file that already holds some bytes.
class TransferResume : public HTTPTest {
protected:
    void Resume(const FileServerOptions& options, const std::string& held, uint32_t offset) {
        server_ = std::make_unique<FileServer>(options);
        WriteWholeFile(Output(), held);
        http_.URL = server_->FileUrl();
        http_.OutputFileName = Output();
        http_.FetchRange(offset, 0, true);
    }

    std::unique_ptr<FileServer> server_;
};

TEST_F(TransferResume, PartialFileIsCompletedFromItsEnd) {
    const std::string body = Pattern(10000);
    Resume(Serving(body), body.substr(0, 6000), 6000);
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=10000 file"));
    EXPECT_EQ(server_->Requests().at(0).Headers.Value("Range"), "bytes=6000-");
    EXPECT_EQ(ReadWholeFile(Output()), body);
}

TEST_F(TransferResume, ServerIgnoringRangesReplacesTheFileFromTheStart) {
    auto options = Serving(Pattern(10000));
    options.HonourRanges = false;
    Resume(options, std::string(7000, 'z'), 5000);
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=10000 file"));
    EXPECT_EQ(ReadWholeFile(Output()), Pattern(10000));
}

TEST_F(TransferResume, CompleteFileIsLeftAsItWas) {
    const std::string body = Pattern(5000);
    Resume(Serving(body), body, 5000);
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferFailed", "OnNoOutput"));
    ASSERT_EQ(server_->Requests().size(), 2u);
    EXPECT_EQ(server_->Requests()[1].Headers.Value("Range"), "bytes=0-");
    EXPECT_EQ(ReadWholeFile(Output()), body);
}

TEST_F(TransferResume, MismatchingFirstBlockRestartsFromTheBeginning) {
    const std::string body = Pattern(20000);
    Resume(Serving(body), Pattern(12000, 7), 8000); // the file is not the start of this body
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=20000 file"));
    ASSERT_EQ(server_->Requests().size(), 2u);
    EXPECT_FALSE(server_->Requests()[1].Headers.Has("Range"));
    EXPECT_EQ(ReadWholeFile(Output()), body);
}

TEST_F(TransferResume, FileEndingBeforeTheOffsetIsFetchedAgainFromTheStart) {
    const std::string body = Pattern(20000);
    Resume(Serving(body), body.substr(0, 3000), 8000); // a gap would be left before the offset
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=20000 file"));
    ASSERT_EQ(server_->Requests().size(), 2u);
    EXPECT_FALSE(server_->Requests()[1].Headers.Has("Range"));
    EXPECT_EQ(ReadWholeFile(Output()), body);
}

TEST_F(TransferResume, OverlapIsCheckedAgainstTheBytesTheFileHasAndTheRestWritten) {
    // The file holds 4000 bytes past the resume point: the first block (4096 bytes) is checked
    // against those 4000, and its last 96 bytes are written after them.
    const std::string body = Pattern(20000);
    Resume(Serving(body), body.substr(0, 12000), 8000);
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=20000 file"));
    EXPECT_EQ(server_->Requests().size(), 1u);
    EXPECT_EQ(ReadWholeFile(Output()), body);
}

// A slow download to a file, under way (at least one block arrived) when the test begins.
class TransferCancel : public HTTPTest {
protected:
    void StartSlowDownload(Milliseconds pause) {
        auto options = Serving(Pattern(50000));
        options.SlowPieceSize = 1000;
        options.SlowPause = pause;
        server_ = std::make_unique<FileServer>(options);
        http_.URL = server_->FileUrl();
        http_.OutputFileName = Output();
        http_.Fetch(false);
    }
    void WaitForTheFirstBlock() {
        ASSERT_TRUE(PumpUntil([&] { return !log_.ProgressReads().empty(); }));
    }

    std::unique_ptr<FileServer> server_;
};

TEST_F(TransferCancel, SoftCancelStopsAtTheNextBlockAndDeletesTheOutput) {
    StartSlowDownload(Milliseconds(50));
    WaitForTheFirstBlock();
    http_.Cancel(true, false);
    ASSERT_TRUE(PumpUntil([&] { return log_.Has("OnTransferCancelled"); }));
    ASSERT_TRUE(PumpUntil([&] { return !http_.IsBusy(); }));
    PumpFor(Milliseconds(300));
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferCancelled"));
    EXPECT_TRUE(log_.AllOnUiThread("OnTransferCancelled"));
    EXPECT_FALSE(std::filesystem::exists(Output()));
    EXPECT_TRUE(http_.Fetch(false)); // the component is ready for the next transfer
    ASSERT_TRUE(PumpUntil([&] { return log_.Has("OnTransferComplete"); }));
}

TEST_F(TransferCancel, ImmediateCancelKeepsTheOutputWhenAsked) {
    StartSlowDownload(Milliseconds(50));
    WaitForTheFirstBlock();
    http_.Cancel(false, true);
    EXPECT_FALSE(http_.IsBusy());
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferCancelled"));
    PumpFor(Milliseconds(300));
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferCancelled"));
    EXPECT_TRUE(std::filesystem::exists(Output()));
    EXPECT_EQ(AttributesOf(Output()), kArchiveTemporary);
}

TEST_F(TransferCancel, CancelFromAProgressHandlerDoesNotHang) {
    auto cancel = [&](TComponent*, const std::string&, uint32_t, uint32_t, uint32_t, int32_t,
                      uint8_t, float, TStream*) { http_.Cancel(true, true); };
    http_.OnDownloadProgress = cancel;
    StartSlowDownload(Milliseconds(20));
    ASSERT_TRUE(PumpUntil([&] { return log_.Has("OnTransferCancelled"); }));
    PumpFor(Milliseconds(300));
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferCancelled"));
    EXPECT_FALSE(std::filesystem::exists(Output()));
}

TEST_F(TransferCancel, DestroyingTheComponentDuringTheBodyStopsItsWorkerQuietly) {
    auto options = Serving(Pattern(50000));
    options.SlowPieceSize = 1000;
    options.SlowPause = Milliseconds(200); // the worker spends its time waiting in the library
    FileServer server(options);
    std::atomic<int> events{0};
    auto http = std::make_unique<TupCustomHTTP>();
    http->OnDownloadProgress = [&](TComponent*, const std::string&, uint32_t, uint32_t, uint32_t,
                                   int32_t, uint8_t, float, TStream*) { ++events; };
    http->OnTransferCancelled = [&](TComponent*) { events += 1000; };
    http->URL = server.FileUrl();
    http->Fetch(false);
    ASSERT_TRUE(PumpUntil([&] { return events > 0; }));
    http.reset();
    const int seen = events;
    PumpFor(Milliseconds(300));
    EXPECT_EQ(events, seen);
    EXPECT_LT(seen, 1000);
}

TEST_F(TransferCancel, DestroyingTheComponentFromItsProgressHandlerStopsItsWorkerQuietly) {
    auto options = Serving(Pattern(50000));
    options.SlowPieceSize = 1000;
    options.SlowPause = Milliseconds(20);
    FileServer server(options);
    std::atomic<int> events{0};
    auto* http = new TupCustomHTTP();
    http->OnDownloadProgress = [&](TComponent*, const std::string&, uint32_t, uint32_t, uint32_t,
                                   int32_t, uint8_t, float, TStream*) {
        ++events;
        delete http;
    };
    http->OnTransferCancelled = [&](TComponent*) { events += 1000; };
    http->URL = server.FileUrl();
    http->Fetch(false);
    ASSERT_TRUE(PumpUntil([&] { return events > 0; }));
    PumpFor(Milliseconds(300));
    EXPECT_EQ(events, 1);
}

using TransferFileURL = HTTPTest;

TEST_F(TransferFileURL, LocalFileIsCopiedMissingOneIs404AndResumeStartsAtTheOffset) {
    const std::string body = Pattern(12345);
    WriteWholeFile(folder_ / "source.bin", body);
    Fetch("file://" + (folder_ / "source.bin").string(), Output());
    EXPECT_EQ(ReadWholeFile(Output()), body);
    Fetch("file://" + (folder_ / "missing.bin").string());
    WriteWholeFile(Output("part.bin"), body.substr(0, 5000));
    http_.URL = "file://" + (folder_ / "source.bin").string();
    http_.OutputFileName = Output("part.bin");
    http_.FetchRange(5000, 0, true);
    EXPECT_EQ(ReadWholeFile(Output("part.bin")), body);
    EXPECT_THAT(log_.Outcomes(),
                ElementsAre("OnTransferComplete size=12345 file", "OnHTTPStatusError status=404",
                            "OnTransferFailed", "OnTransferComplete size=12345 file"));
}
