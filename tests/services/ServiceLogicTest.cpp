#include "services/ApertiumService.h"
#include "services/BaiduService.h"
#include "services/LanguageCodes.h"
#include "services/OpenccService.h"
#include "services/TextPieces.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace quorvex;
using namespace quorvex::services;

namespace {

const TLanguagePair& Pair(std::string_view code) {
    for (const TLanguagePair& pair : kLanguagePairs)
        if (pair.Code == code)
            return pair;
    throw Exception("no pair " + std::string(code));
}

TEST(LanguageCodes, EveryRowOfThePairTableHasEachServicesCodes) {
    struct Row {
        std::string_view Pair;
        ServiceLanguages Google, LibreTranslate, Baidu;
    };
    const std::vector<Row> rows{
        {"en|zh-CN", {"en", "zh-CN"}, {"en", "zh"}, {"en", "zh"}},
        {"zh|en", {"zh-CN", "en"}, {"zh", "en"}, {"zh", "en"}},
        {"zh-CN|zh-TW", {"zh-CN", "zh-TW"}, {"zh", "zt"}, {"zh", "cht"}},
        {"zh-TW|zh-CN", {"zh-TW", "zh-CN"}, {"zt", "zh"}, {"cht", "zh"}},
        {"en|es", {"en", "es"}, {"en", "es"}, {"en", "spa"}},
        {"en|fr", {"en", "fr"}, {"en", "fr"}, {"en", "fra"}},
        {"en|ja", {"en", "ja"}, {"en", "ja"}, {"en", "jp"}},
        {"en|ar", {"en", "ar"}, {"en", "ar"}, {"en", "ara"}},
        {"fr|en", {"fr", "en"}, {"fr", "en"}, {"fra", "en"}},
        {"ja|en", {"ja", "en"}, {"ja", "en"}, {"jp", "en"}},
    };
    ASSERT_EQ(rows.size(), kLanguagePairs.size());
    for (const Row& row : rows) {
        EXPECT_EQ(LanguagesFor(CodeSet::Google, Pair(row.Pair)), row.Google) << row.Pair;
        EXPECT_EQ(LanguagesFor(CodeSet::LibreTranslate, Pair(row.Pair)), row.LibreTranslate)
            << row.Pair;
        EXPECT_EQ(LanguagesFor(CodeSet::Baidu, Pair(row.Pair)), row.Baidu) << row.Pair;
    }
    EXPECT_EQ(LanguagesFor(CodeSet::Google, {"", "en|xx", kNotOffered}), std::nullopt);
}

TEST(SplitText, CutsAfterASentenceEndElseABlankElseHard) {
    struct Case {
        std::string Text;
        size_t Limit;
        std::vector<std::string> Pieces;
    };
    const std::vector<Case> cases{
        {"", 5, {}},
        {"short", 5, {"short"}},
        {"One. Two three. Four", 12, {"One. ", "Two three. ", "Four"}},
        {"Pi is 3.14 ok", 10, {"Pi is ", "3.14 ok"}}, // no sentence ends inside a number
        {"你好。世界很大！再见", 4, {"你好。", "世界很大", "！再见"}},
        {"one two three", 9, {"one two ", "three"}},
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"缩写缩写缩", 2, {"缩写", "缩写", "缩"}}, // never inside a character
    };
    for (const Case& test : cases) {
        const std::vector<std::string> pieces = SplitText(test.Text, test.Limit);
        EXPECT_EQ(pieces, test.Pieces) << test.Text;
        EXPECT_EQ(std::accumulate(pieces.begin(), pieces.end(), std::string()), test.Text);
    }
}

TEST(BaiduSign, IsTheMd5OfAppIdTextSaltAndKey) {
    // The example of Baidu's documentation.
    EXPECT_EQ(BaiduSign("2015063000000001", "apple", "1435660288", "12345678"),
              "f89f9594663708c1605f3d736d01d2d4");
}

TEST(OpenccService, ConvertsBothWaysWithTaiwanPhrasesAndServesOnlyTheScriptPairs) {
    OpenccService opencc;
    ASSERT_TRUE(opencc.Configured());
    EXPECT_EQ(opencc.Translate(Pair("zh-CN|zh-TW"), "鼠标和软件的信息"), "滑鼠和軟體的資訊");
    EXPECT_EQ(opencc.Translate(Pair("zh-TW|zh-CN"), "滑鼠和軟體的資訊"), "鼠标和软件的信息");
    for (const TLanguagePair& pair : kLanguagePairs)
        EXPECT_EQ(opencc.Serves(pair), pair.Code.starts_with("zh-")) << pair.Code;
    EXPECT_THROW(opencc.Translate(Pair("en|es"), "x"), ServiceFailure);
}

TEST(ApertiumService, TranslatesEnglishToSpanish) {
    ApertiumService apertium;
    ASSERT_TRUE(apertium.Configured());
    EXPECT_EQ(apertium.Translate(Pair("en|es"), "Good morning.\nThe cat."),
              "Buenos días.\nEl gato.");
    for (const TLanguagePair& pair : kLanguagePairs)
        EXPECT_EQ(apertium.Serves(pair), pair.Code == "en|es") << pair.Code;
}

} // namespace
