#include "cli/TranslateCommand.h"
#include "standin/Standin.h"
#include "translate/Dictionary.h"
#include "translate/ServiceHosts.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

using namespace quorvex;

namespace {

// The stand-in as the search service of this whole test program (the host is read once).
const std::string& SearchHost() {
    static TStandin standin;
    static const std::string host = [] {
        const std::string address = "127.0.0.1:" + std::to_string(standin.Port());
        setenv("QUORVEX_SEARCH_HOST", address.c_str(), 1);
        return address;
    }();
    return host;
}

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

TRun RunCommand(const std::vector<std::string>& arguments) {
    SearchHost();
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunTranslateCommand(arguments, in, out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(DictCommand, PrintsThePageOfAnEntryWithStatusZero) {
    const TRun run = RunCommand({"--dict", "中国"});
    ASSERT_EQ(ServiceHosts().Search, SearchHost());
    EXPECT_EQ(run.Status, kExitTranslated);
    EXPECT_EQ(run.Out,
              DictionaryPage(SearchHost(),
                             "<div class=ptitle>中国</div><div class=pexplain>China</div>") +
                  "\n");
    EXPECT_EQ(run.Err, "");
}

TEST(DictCommand, NoEntryPrintsItsPageWithStatusOne) {
    const TRun run = RunCommand({"--dict", "quorvex"});
    EXPECT_EQ(run.Status, kExitError);
    EXPECT_EQ(run.Out, DictionaryPage(SearchHost(), kNoEntryText) + "\n");
}

TEST(DictCommand, WordIsRequired) {
    const TRun run = RunCommand({"--dict"});
    EXPECT_EQ(run.Status, kExitBadUsage);
    EXPECT_NE(run.Err.find("--dict needs a word"), std::string::npos);
}
