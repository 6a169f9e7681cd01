// A download is reported complete only when the whole body arrived and was written, and the
// request goes out for the resource the URL names.
#include "HTTPTestKit.h"
#include "platform/FileAttributes.h"

#include <csignal>
#include <gmock/gmock.h>
#include <sys/resource.h>

using namespace quorvex;
using namespace quorvex::test_support;
using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

// Files this process writes cannot grow beyond `bytes` while it lives; a write past the limit
// fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

} // namespace

using TransferIntegrity = HTTPTest;

TEST_F(TransferIntegrity, FailedWriteEndsAsBrokenCountingOnlyWhatReachedTheFile) {
    const std::string body = Pattern(100000);
    FileServer server(Serving(body));
    http_.URL = server.FileUrl();
    http_.OutputFileName = Output();
    {
        const FileSizeLimit limit(10000);
        EXPECT_TRUE(http_.Fetch(true));
    }
    EXPECT_THAT(log_.Outcomes(),
                ElementsAre("OnTransferBroken read=10000 total=100000", "OnTransferFailed"));
    EXPECT_TRUE(ReadWholeFile(Output()) == body.substr(0, 10000));
    EXPECT_EQ(platform::GetFileAttributes(Output()),
              platform::kAttributeArchive | platform::kAttributeTemporary);
    EXPECT_FALSE(http_.IsBusy());
}

// A reply and the outcome events it must give.
struct CutBody {
    const char* name;
    std::string reply;
    std::vector<std::string> outcomes;
};

TEST_F(TransferIntegrity, BodyCutOffIsBrokenWhereTheLengthCannotTell) {
    const std::vector<CutBody> cases = {
        {"chunked body cut before its last chunk",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n",
         {"OnTransferBroken read=5 total=0", "OnTransferFailed"}},
        {"4 GiB + 100 announced, 100 sent (a 32-bit length reads 100)",
         "HTTP/1.1 200 OK\r\nContent-Length: 4294967396\r\n\r\n" + std::string(100, 'a'),
         {"OnTransferBroken read=100 total=4294967295", "OnTransferFailed"}},
        {"4 GiB announced, nothing sent (a 32-bit length reads 0)",
         "HTTP/1.1 200 OK\r\nContent-Length: 4294967296\r\n\r\n",
         {"OnTransferBroken read=0 total=4294967295", "OnTransferFailed"}},
    };
    for (const CutBody& cut : cases) {
        SCOPED_TRACE(cut.name);
        ScriptedHttpServer server;
        server.Enqueue(Reply::Raw(cut.reply).Close());
        TupCustomHTTP http;
        EventLog log(http);
        http.URL = server.Url("/cut");
        http.OutputFileName = Output();
        http.Fetch(true);
        EXPECT_THAT(log.Outcomes(), ElementsAreArray(cut.outcomes));
        EXPECT_EQ(platform::GetFileAttributes(Output()),
                  platform::kAttributeArchive | platform::kAttributeTemporary);
    }
}

TEST_F(TransferIntegrity, ResumingIntoALongerFileEndsTheFileWithTheResource) {
    const std::string body = Pattern(10000);
    FileServer server(Serving(body));
    WriteWholeFile(Output(), body + std::string(5000, 'z'));
    http_.URL = server.FileUrl();
    http_.OutputFileName = Output();
    http_.FetchRange(6000, 0, true);
    EXPECT_THAT(log_.Outcomes(), ElementsAre("OnTransferComplete size=10000 file"));
    const std::string held = ReadWholeFile(Output());
    EXPECT_EQ(held.size(), body.size());
    EXPECT_TRUE(held == body);
}

TEST_F(TransferIntegrity, PathGoesOutAsTheURLWroteIt) {
    for (const std::string path :
         {"/a%20b.bin", "/what%3Fx.bin", "/hash%23x.bin", "/%E4%B8%AD.bin", "/100%25.bin"}) {
        SCOPED_TRACE(path);
        FileServer server(Serving("found", path));
        TupCustomHTTP http;
        EventLog log(http);
        http.URL = server.Url(path + "?q=1");
        http.Fetch(true);
        ASSERT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(server.Requests()[0].Target, path + "?q=1");
        EXPECT_THAT(log.Outcomes(), ElementsAre("OnTransferComplete size=5 memory"));
    }
}

TEST_F(TransferIntegrity, IPv6LiteralHostKeepsOnePairOfBrackets) {
    // Through a proxy, which sees the whole URL in the request line.
    FileServer proxy(Serving("via proxy"));
    http_.Proxy.AccessType = TupHTTPAccessType::atUseProxy;
    http_.Proxy.ProxyServer = "127.0.0.1";
    http_.Proxy.ProxyPort = proxy.Port();
    Fetch("http://[::1]:8080/file.bin");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].Target, "http://[::1]:8080/file.bin");
    EXPECT_EQ(log_.Body(), "via proxy");
}
