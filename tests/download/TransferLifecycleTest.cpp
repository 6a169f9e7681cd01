// The transfer component across its life: a cancel at any moment, handlers that free it, and
// the connection-status events of its handles.
#include "HTTPTestKit.h"
#include "support/Pumping.h"

#include <gmock/gmock.h>

using namespace quorvex;
using namespace quorvex::test_support;
using testing::Each;
using testing::ElementsAreArray;

namespace {

// Frees the component *slot points to; called from the component's own handler, it touches
// nothing of that handler after the delete.
void FreeFrom(TupCustomHTTP** slot) {
    TupCustomHTTP* doomed = *slot;
    *slot = nullptr;
    delete doomed;
}

// Sets the component's `event` to a handler that frees the component.
template <typename Event>
std::function<void(TupCustomHTTP&, TupCustomHTTP**)> FreeIn(Event TupCustomHTTP::*event) {
    return [event](TupCustomHTTP& http, TupCustomHTTP** slot) {
        http.*event = [slot](auto&&...) { FreeFrom(slot); };
    };
}

// One way a transfer ends, the handler that frees the component and the events seen before.
struct FreeingHandler {
    const char* name;
    std::function<void(TupCustomHTTP&, TupCustomHTTP**)> freeIn;
    std::function<void(TupCustomHTTP&, const std::string& folder)> start;
    std::vector<std::string> before;
};

} // namespace

using TransferLifecycle = HTTPTest;

TEST_F(TransferLifecycle, SoftCancelRightAfterTheStartIsACancelAndLeavesTheComponentReady) {
    FileServer server(Serving(Pattern(2000)));
    http_.URL = server.FileUrl();
    http_.OutputFileName = Output();
    constexpr int kRounds = 10; // the worker has rarely begun when the cancel comes
    for (int round = 1; round <= kRounds; ++round) {
        ASSERT_TRUE(http_.Fetch(false)) << "round " << round;
        http_.Cancel(true, false);
        ASSERT_TRUE(PumpUntil([&] { return log_.Count("OnTransferCancelled") == round; }))
            << "round " << round;
        ASSERT_TRUE(PumpUntil([&] { return !http_.IsBusy(); }));
    }
    EXPECT_THAT(log_.Outcomes(), Each(std::string("OnTransferCancelled")));
    EXPECT_FALSE(std::filesystem::exists(Output()));
    EXPECT_TRUE(http_.Fetch(true));
    EXPECT_EQ(log_.Outcomes().back(), "OnTransferComplete size=2000 file");
}

TEST_F(TransferLifecycle, OutcomeHandlerMayFreeTheComponent) {
    FileServer server(Serving(Pattern(3000)));
    auto cutOptions = Serving(Pattern(3000));
    cutOptions.CloseAfter = 1000;
    FileServer cut(cutOptions);
    const auto fetch = [](const std::string& url) {
        return [url](TupCustomHTTP& http, const std::string&) {
            http.URL = url;
            http.Fetch(false);
        };
    };
    const std::vector<FreeingHandler> cases = {
        {"OnTransferComplete",
         FreeIn(&TupCustomHTTP::OnTransferComplete),
         fetch(server.FileUrl()),
         {}},
        {"OnHTTPStatusError",
         FreeIn(&TupCustomHTTP::OnHTTPStatusError),
         fetch(server.Url("/missing")),
         {}},
        {"OnTransferBroken", FreeIn(&TupCustomHTTP::OnTransferBroken), fetch(cut.FileUrl()), {}},
        {"OnTransferFailed after OnTransferBroken",
         FreeIn(&TupCustomHTTP::OnTransferFailed),
         fetch(cut.FileUrl()),
         {"OnTransferBroken read=1000 total=3000"}},
        {"OnTransferFailed before OnNoOutput",
         FreeIn(&TupCustomHTTP::OnTransferFailed),
         [&](TupCustomHTTP& http, const std::string& folder) {
             // Resuming a complete file: the transfer ends without output.
             const std::string file = folder + "/complete.bin";
             WriteWholeFile(file, Pattern(3000));
             http.URL = server.FileUrl();
             http.OutputFileName = file;
             http.FetchRange(3000, 0, false);
         },
         {}},
        {"OnServerUnreachable",
         FreeIn(&TupCustomHTTP::OnServerUnreachable),
         fetch("http://127.0.0.1:1/nothing"),
         {}},
        {"OnTransferCancelled",
         FreeIn(&TupCustomHTTP::OnTransferCancelled),
         [&](TupCustomHTTP& http, const std::string&) {
             http.URL = server.FileUrl();
             http.Fetch(false);
             http.Cancel(false, false);
         },
         {}},
    };
    for (const FreeingHandler& handler : cases) {
        SCOPED_TRACE(handler.name);
        auto* http = new TupCustomHTTP();
        EventLog log(*http);
        handler.freeIn(*http, &http);
        handler.start(*http, folder_.string());
        ASSERT_TRUE(PumpUntil([&] { return http == nullptr; }));
        PumpFor(Milliseconds(200)); // nothing of the freed component runs any more
        EXPECT_THAT(log.Outcomes(), ElementsAreArray(handler.before));
    }
}

TEST_F(TransferLifecycle, ConnectionStatusIsToldOnTheWorkerOnlyTheClosingHandleIncluded) {
    FileServer server(Serving(Pattern(1000)));
    Fetch(server.FileUrl());
    EXPECT_TRUE(log_.Has("OnConnectionStatus 70 Handle closing"));
    EXPECT_FALSE(log_.AnyOnUiThread("OnConnectionStatus"));
}

TEST_F(TransferLifecycle, DestroyingTheComponentMidBodyTellsNoConnectionStatus) {
    auto options = Serving(Pattern(50000));
    options.SlowPieceSize = 1000;
    options.SlowPause = Milliseconds(100);
    FileServer server(options);
    auto http = std::make_unique<TupCustomHTTP>();
    EventLog log(*http);
    http->URL = server.FileUrl();
    http->Fetch(false);
    ASSERT_TRUE(PumpUntil([&] { return !log.ProgressReads().empty(); }));
    http.reset();
    EXPECT_FALSE(log.AnyOnUiThread("OnConnectionStatus"));
}
