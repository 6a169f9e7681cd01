#include "standin/WebTranslators.h"

#include "services/ServiceRegistry.h"
#include "standin/Standin.h"
#include "support/WebServiceSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace quorvex::test_support;
using testing::HasSubstr;

namespace {

const TLanguagePair& Pair(std::string_view code) {
    return *std::find_if(kLanguagePairs.begin(), kLanguagePairs.end(),
                         [&](const TLanguagePair& pair) { return pair.Code == code; });
}

// The stand-in over HTTPS, asked by the services themselves.
class StandinWebTranslators : public testing::Test {
protected:
    std::string Translate(const std::string& service, std::string_view pair,
                          const std::string& text) {
        return services::CreateService(service)->Translate(Pair(pair), text);
    }
    std::string BaiduFailure() {
        try {
            Translate("baidu", "en|zh-CN", "hello");
        } catch (const services::ServiceFailure& failure) {
            return failure.what();
        }
        return {};
    }

    TStandin standin_{0,
                      {},
                      std::make_shared<platform::TlsServerContext>(
                          TestCertificateFiles().CertificateFile, TestCertificateFiles().KeyFile)};
    std::optional<WebServiceSettings> settings_{
        std::in_place, "https://127.0.0.1:" + std::to_string(standin_.Port()), kStandinBaiduAppId,
        kStandinBaiduKey};
};

TEST_F(StandinWebTranslators, AnswerEachServiceFromTheGlossary) {
    std::string longText, longTranslation;
    for (int i = 0; i < 500; ++i) {
        longText += "Hello world. ";
        longTranslation += "你好世界. ";
    }
    struct Case {
        std::string Service;
        std::string_view Pair;
        std::string Text;
        std::string Translation;
    };
    for (const Case& test : std::vector<Case>{
             {"google", "en|zh-CN", "Hello world\ngood morning", "你好世界\n好早上"},
             {"google", "en|zh-CN", longText, longTranslation}, // in pieces, by POST
             {"libretranslate", "zh|en", "你好，世界。", "hello, world."},
             {"libretranslate", "zh-CN|zh-TW", "世界", "世界"},
             {"baidu", "en|zh-CN", "Hello world\nthanks", "你好世界\n谢谢"},
             {"baidu", "en|es", "hello", "hello"},
         }) {
        EXPECT_EQ(Translate(test.Service, test.Pair, test.Text), test.Translation) << test.Service;
    }
}

TEST_F(StandinWebTranslators, AClientThatDoesNotTrustItLeavesItServing) {
    {
        const ScopedEnvironment systemStoreOnly("SSL_CERT_FILE", std::nullopt);
        EXPECT_THROW(Translate("google", "en|zh-CN", "hello"), services::ServiceFailure);
    }
    EXPECT_EQ(Translate("google", "en|zh-CN", "hello"), "你好");
}

TEST_F(StandinWebTranslators, BaiduChecksTheAppIdAndTheSign) {
    settings_.emplace("https://127.0.0.1:" + std::to_string(standin_.Port()), kStandinBaiduAppId,
                      "not-the-key");
    EXPECT_THAT(BaiduFailure(), HasSubstr("54001"));
    settings_.emplace("https://127.0.0.1:" + std::to_string(standin_.Port()), "123",
                      kStandinBaiduKey);
    EXPECT_THAT(BaiduFailure(), HasSubstr("52003"));
}

} // namespace
