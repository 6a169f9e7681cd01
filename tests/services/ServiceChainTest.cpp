#include "services/ServiceChain.h"

#include "services/ServiceRegistry.h"
#include "support/ScopedEnvironment.h"
#include "translate/RequestLimit.h"

#include <gtest/gtest.h>

using namespace quorvex;
using namespace quorvex::services;
using quorvex::test_support::ScopedEnvironment;

namespace {

// A service double: what it serves, whether it is configured, and its one answer (a
// translation, or a failure when `fails`).
struct Double {
    std::string Name;
    bool Serves = true;
    bool Configured = true;
    bool Fails = false;
};

class DoubleService final : public TranslationService {
public:
    DoubleService(Double setup, std::vector<std::string>& asked)
        : setup_(std::move(setup))
        , asked_(asked) {}
    std::string Name() const override { return setup_.Name; }
    bool Serves(const TLanguagePair&) const override { return setup_.Serves; }
    bool Configured() const override { return setup_.Configured; }
    std::string Translate(const TLanguagePair&, const std::string& text) override {
        asked_.push_back(setup_.Name);
        if (setup_.Fails)
            throw ServiceFailure(setup_.Name + " refused " + text);
        return setup_.Name + ":" + text;
    }

private:
    Double setup_;
    std::vector<std::string>& asked_;
};

struct ChainCase {
    std::vector<Double> Services;
    std::vector<std::string> Asked;
    std::string Translation; // empty: the chain fails
};

class ServiceChainTest : public testing::TestWithParam<ChainCase> {
protected:
    ServiceChain Chain(const std::vector<Double>& setups) {
        std::vector<std::unique_ptr<TranslationService>> services;
        for (const Double& setup : setups)
            services.push_back(std::make_unique<DoubleService>(setup, asked_));
        return ServiceChain(std::move(services));
    }

    std::vector<std::string> asked_;
};

TEST_P(ServiceChainTest, AsksInOrderUntilOneTranslates) {
    ServiceChain chain = Chain(GetParam().Services);
    try {
        EXPECT_EQ(chain.Translate(kLanguagePairs[0], "word"), GetParam().Translation);
    } catch (const EChainFailure& failure) {
        EXPECT_EQ(GetParam().Translation, "") << failure.what();
        ASSERT_EQ(failure.Attempts().size(), GetParam().Asked.size());
        for (size_t i = 0; i < GetParam().Asked.size(); ++i) {
            EXPECT_EQ(failure.Attempts()[i].Service, GetParam().Asked[i]);
            EXPECT_EQ(failure.Attempts()[i].Reason, GetParam().Asked[i] + " refused word");
        }
    }
    EXPECT_EQ(asked_, GetParam().Asked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServiceChainTest,
    testing::Values(ChainCase{{{"a"}, {"b"}}, {"a"}, "a:word"},
                    ChainCase{{{"a", true, true, true}, {"b"}}, {"a", "b"}, "b:word"},
                    ChainCase{{{"a", false}, {"b", true, false}, {"c"}}, {"c"}, "c:word"},
                    ChainCase{{{"a", true, true, true}, {"b", true, true, true}}, {"a", "b"}, ""},
                    ChainCase{{{"a", false}}, {}, ""}));

TEST(ServiceChainFailure, NamesEachServiceByItsTitleOnALineOfItsOwn) {
    const EChainFailure failure({{"google", "谷歌翻译", "one"}, {"baidu", "百度翻译", "two"}});
    EXPECT_STREQ(failure.what(), "谷歌翻译：one\n百度翻译：two");
}

TEST(ServiceChainAbandon, StopsTheChainWhenTheProgramEnds) {
    struct Abandoned final : TranslationService {
        std::string Name() const override { return "abandoned"; }
        bool Serves(const TLanguagePair&) const override { return true; }
        bool Configured() const override { return true; }
        std::string Translate(const TLanguagePair&, const std::string&) override {
            throw ERequestAbandoned();
        }
    };
    std::vector<std::unique_ptr<TranslationService>> services;
    services.push_back(std::make_unique<Abandoned>());
    EXPECT_THROW(ServiceChain(std::move(services)).Translate(kLanguagePairs[0], "x"),
                 ERequestAbandoned);
}

TEST(ServiceChainFromSettings, AMistypedNameShowsAmongTheReasons) {
    const ScopedEnvironment order("QUORVEX_SERVICES", "bing");
    try {
        ChainFromSettings().Translate(kLanguagePairs[0], "word");
        ADD_FAILURE() << "translated";
    } catch (const EChainFailure& failure) {
        ASSERT_EQ(failure.Attempts().size(), 1u);
        EXPECT_EQ(failure.Attempts()[0].Service, "bing");
        EXPECT_NE(failure.Attempts()[0].Reason.find("没有名为 bing 的翻译服务"), std::string::npos);
    }
}

TEST(ServiceOrder, ComesFromTheEnvironmentElseTheDefault) {
    const ScopedEnvironment noFile("XDG_CONFIG_HOME", "/nonexistent");
    {
        const ScopedEnvironment order("QUORVEX_SERVICES", " baidu , google,,");
        EXPECT_EQ(ServiceOrder(), (std::vector<std::string>{"baidu", "google"}));
    }
    const ScopedEnvironment unset("QUORVEX_SERVICES", std::nullopt);
    EXPECT_EQ(ServiceOrder(), ServiceNames());
}

} // namespace
