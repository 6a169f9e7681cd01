#include "cli/TranslateCommand.h"

#include "support/ScopedEnvironment.h"
#include "support/TranslationServer.h"
#include "translate/ServiceHosts.h"
#include "translate/TranslateText.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace quorvex;
using namespace quorvex::test_support;

namespace {

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

class TranslateCommandTest : public ::testing::Test {
protected:
    static TRun Run(const std::vector<std::string>& arguments, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        int status = RunTranslateCommand(arguments, in, out, err);
        return {status, out.str(), err.str()};
    }
    void ReplyWith(const std::string& translation) {
        server_.Enqueue(Reply::WithBody(200, "OK",
                                        std::string(kResultStartMarker) + translation +
                                            std::string(kResultEndMarker)));
    }
    void ExpectBodyStart(const std::string& expected) {
        const std::string body = server_.Requests().back().Body;
        EXPECT_EQ(body.substr(0, expected.size()), expected) << "whole body: " << body;
    }

    ScriptedHttpServer& server_ = TranslationServer();
};

} // namespace

TEST_F(TranslateCommandTest, JoinsArgumentsAndPicksThePairByTheText) {
    ReplyWith("你好世界");
    TRun run = Run({"Hello", "world"});
    EXPECT_EQ(run.Status, kExitTranslated);
    EXPECT_EQ(run.Out, "你好世界\n");
    ExpectBodyStart("langpair=en%7Czh%2DCN&text=Hello+world&hl=zh");

    ReplyWith("hello");
    EXPECT_EQ(Run({"你好"}).Out, "hello\n");
    ExpectBodyStart("langpair=zh%7Cen");
}

TEST_F(TranslateCommandTest, ReadsStandardInputWithoutArgumentsAndTakesCodesOrCaptions) {
    ReplyWith("x");
    EXPECT_EQ(Run({"-p", "ja|en"}, "line one\nline two\n").Status, kExitTranslated);
    ExpectBodyStart("langpair=ja%7Cen&text=line+one%0Aline+two%0A&hl=zh%2D");

    ReplyWith("y");
    Run({"-p", "英语 翻译成 法语", "--", "-dash"});
    ExpectBodyStart("langpair=en%7Cfr&text=%2Ddash&hl");
}

TEST_F(TranslateCommandTest, UnknownCaptionWarnsAndStillSends) {
    ReplyWith("z");
    TRun run = Run({"-p", "Klingon", "hi"});
    EXPECT_EQ(run.Status, kExitTranslated);
    EXPECT_NE(run.Err.find("warning: 'Klingon' is not a language pair"), std::string::npos);
    ExpectBodyStart("langpair=&text=hi&h");
}

TEST_F(TranslateCommandTest, FailureEndsWithErrorAndStatusOne) {
    server_.Enqueue(Reply::WithBody(500, "Oops", ""));
    TRun run = Run({"hi"});
    EXPECT_EQ(run.Status, kExitError);
    EXPECT_EQ(run.Out, "Error\n");
}

TEST_F(TranslateCommandTest, BadUsageAndHelp) {
    EXPECT_EQ(Run({"-p"}).Status, kExitBadUsage);
    TRun unknown = Run({"--verbose", "x"});
    EXPECT_EQ(unknown.Status, kExitBadUsage);
    EXPECT_NE(unknown.Err.find("unknown option '--verbose'"), std::string::npos);
    TRun help = Run({"--help"});
    EXPECT_EQ(help.Status, kExitTranslated);
    EXPECT_NE(help.Out.find("QUORVEX_TRANSLATE_HOST"), std::string::npos);
    EXPECT_NE(help.Out.find("zh-TW|zh-CN"), std::string::npos);
}

TEST(DefaultCaptionFor, AnyByteFrom127SelectsChineseToEnglish) {
    EXPECT_EQ(DefaultCaptionFor("plain ascii ~"), "英语 翻译成 中文(简体) BETA");
    EXPECT_EQ(DefaultCaptionFor("del \x7F"), "中文(简体) 翻译成 英语 BETA");
    EXPECT_EQ(DefaultCaptionFor("中"), "中文(简体) 翻译成 英语 BETA");
}

TEST_F(TranslateCommandTest, OneServiceByNameAndTheListOfServices) {
    ReplyWith("bonjour");
    TRun run = Run({"--service", "classic", "-p", "en|fr", "hello"});
    EXPECT_EQ(run.Status, kExitTranslated);
    EXPECT_EQ(run.Out, "bonjour\n");
    ExpectBodyStart("langpair=en%7Cfr&text=hello");

    server_.Enqueue(Reply::WithBody(500, "Oops", ""));
    run = Run({"--service", "classic", "hello"});
    EXPECT_EQ(run.Status, kExitError);
    EXPECT_NE(run.Err.find("经典网页翻译："), std::string::npos) << run.Err;

    EXPECT_EQ(Run({"--service", "nonesuch", "hello"}).Status, kExitBadUsage);
    EXPECT_EQ(Run({"--service", "classic", "-p", "Klingon", "hello"}).Status, kExitError);
    EXPECT_NE(
        Run({"--services"}).Out.find("classic         configured      经典网页翻译  en|zh-CN "),
        std::string::npos);
}

TEST_F(TranslateCommandTest, ChainFailurePrintsTheReasons) {
    const ScopedEnvironment chain("QUORVEX_TRANSLATE_HOST", std::nullopt);
    const ScopedEnvironment order("QUORVEX_SERVICES", "apertium"); // serves no English to Chinese
    TRun run = Run({"hi"});
    EXPECT_EQ(run.Status, kExitError);
    EXPECT_EQ(run.Out, "Error\n");
    EXPECT_EQ(run.Err, "quorvex-translate: 没有已设置好的翻译服务翻译这个语言对\n");
}
