// The dictionary sources one by one: CC-CEDICT, FreeDict files made by dictfmt and dictzip, and a
// real dictd on loopback.
#include "DictionaryData.h"
#include "dictionaries/CedictSource.h"
#include "dictionaries/DictServerSource.h"
#include "dictionaries/DictdDatabase.h"
#include "dictionaries/FreedictSource.h"
#include "dictionaries/GoogleWordSource.h"
#include "dictionaries/Pinyin.h"
#include "services/HttpTransport.h"
#include "support/Files.h"
#include "support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

namespace quorvex::dictionaries {
namespace {

using test_support::DictdFolder;

const TLanguagePair& Pair(std::string_view code) {
    for (const TLanguagePair& pair : kLanguagePairs)
        if (pair.Code == code)
            return pair;
    throw Exception("no pair " + std::string(code));
}

// Headword, pronunciation and meanings of each entry: "电脑 (電腦) [diàn nǎo] computer; ...".
std::string Described(const std::vector<Entry>& entries) {
    std::string described;
    for (const Entry& entry : entries) {
        described +=
            (described.empty() ? "" : " | ") + entry.Headword + " [" + entry.Pronunciation + "]";
        for (const SenseGroup& group : entry.Senses) {
            if (!group.PartOfSpeech.empty())
                described += " <" + group.PartOfSpeech + ">";
            for (const std::string& meaning : group.Meanings)
                described += " " + meaning + ";";
        }
    }
    return described;
}

TEST(Pinyin, TakesToneMarks) {
    const std::vector<std::pair<std::string, std::string>> cases{{"ni3 hao3", "nǐ hǎo"},
                                                                 {"lu:4", "lǜ"},
                                                                 {"nu:3 er2", "nǚ ér"},
                                                                 {"ma5", "ma"},
                                                                 {"gou3", "gǒu"},
                                                                 {"liu2 gui4", "liú guì"},
                                                                 {"Bei3 jing1", "Běi jīng"},
                                                                 {"r5", "r"},
                                                                 {"A A zhi4", "A A zhì"},
                                                                 {"xian1 sheng5", "xiān sheng"}};
    for (const auto& [numbered, marked] : cases)
        EXPECT_EQ(PinyinWithToneMarks(numbered), marked) << numbered;
}

class CedictTest : public testing::Test {
protected:
    CedictTest() {
        test_support::WriteWholeFile(path_, "# CC-CEDICT\n"
                                            "你好 你好 [ni3 hao3] /hello/hi/\n"
                                            "電腦 电脑 [dian4 nao3] /computer/CL:臺|台[tai2]/\n"
                                            "計算機 计算机 [ji4 suan4 ji1] /calculator/computer/\n"
                                            "世界 世界 [shi4 jie4] /world/\n"
                                            "吃 吃 [chi1] /to eat/\n"
                                            "not a line\n");
    }
    QTemporaryDir folder_;
    std::string path_ = folder_.path().toStdString() + "/cedict_ts.u8";
};

TEST_F(CedictTest, LooksUpHeadwordsGlossesAndPhrases) {
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"zh|en", "你好", "你好 [nǐ hǎo] hello; hi;"},
        {"zh|en", "电脑", "电脑 (電腦) [diàn nǎo] computer; CL:臺|台[tái];"},
        {"zh|en", "電腦", "电脑 (電腦) [diàn nǎo] computer; CL:臺|台[tái];"},
        {"zh|en", "你好，世界", "你好 [nǐ hǎo] hello; hi; | 世界 [shì jiè] world;"},
        {"zh|en", "再见", ""},
        {"en|zh-CN", "Computer",
         "电脑 (電腦) [diàn nǎo] computer; CL:臺|台[tái]; | 计算机 (計算機) [jì suàn jī] "
         "calculator; computer;"},
        {"en|zh-CN", "eat", "吃 [chī] to eat;"},
        {"en|zh-CN", "to eat", "吃 [chī] to eat;"},
    };
    CedictSource source(path_);
    for (const auto& [pair, word, described] : cases)
        EXPECT_EQ(Described(source.Lookup(word, Pair(pair))), described) << word;
    EXPECT_FALSE(source.Serves(Pair("en|es")));
}

TEST_F(CedictTest, MissingFileIsAFailureThatNamesIt) {
    CedictSource source(path_ + ".missing");
    EXPECT_THROW(
        try { source.Lookup("你好", Pair("zh|en")); } catch (const SourceFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find(path_ + ".missing"), std::string::npos);
            throw;
        },
        SourceFailure);
}

TEST(CedictData, AnswersTheWordsPeopleCopy) {
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"zh|en", "你好", "你好 [nǐ hǎo] hello; hi;"},
        {"zh|en", "電腦", "电脑 (電腦) [diàn nǎo] computer; CL:臺|台[tái];"},
        {"en|zh-CN", "computer", "计算机 (計算機) [jì suàn jī] computer;"},
    };
    CedictSource source(test_support::TestCedictPath());
    for (const auto& [pair, word, described] : cases)
        EXPECT_EQ(Described(source.Lookup(word, Pair(pair))).substr(0, described.size()),
                  described);
}

constexpr const char* kEngSpa = ":cat:cat /kæt/\ngato\n"
                                ":house:house /haus/ <n>\ncasa\nhogar\n"
                                ":run:run /rʌn/\n1. (verb)\ncorrer\n2. (noun)\ncarrera\n";

TEST(Freedict, ReadsIndexAndDictzipOrPlainData) {
    DictdFolder folder;
    folder.Add("freedict-eng-spa", kEngSpa);
    folder.Add("freedict-fra-eng", ":maison:maison /mɛzɔ̃/ <n, fem>\nhouse\n", false);
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"en|es", "cat", "cat [kæt] gato;"},
        {"en|es", "House", "house [haus] <n> casa; hogar;"},
        {"en|es", "run", "run [rʌn] <verb> correr; <noun> carrera;"},
        {"en|es", "dog", ""},
        {"fr|en", "maison", "maison [mɛzɔ̃] <n, fem> house;"},
    };
    FreedictSource source({"/nonexistent", folder.Path()});
    for (const auto& [pair, word, described] : cases)
        EXPECT_EQ(Described(source.Lookup(word, Pair(pair))), described) << word;
    EXPECT_TRUE(source.Serves(Pair("en|es")));
    EXPECT_FALSE(source.Serves(Pair("en|fr")));
}

TEST(Freedict, DictzipChunksGiveWhatThePlainFileHolds) {
    DictdFolder folder;
    std::string source;
    for (int i = 0; i < 3000; ++i)
        source += ":w" + std::to_string(i) + ":w" + std::to_string(i) + "\n" +
                  std::string(40 + i % 50, static_cast<char>('a' + i % 26)) + std::to_string(i) +
                  "\n";
    folder.Add("big", source, false);
    test_support::RunCommand("cp '" + folder.Path() + "/big.dict' '" + folder.Path() +
                             "/big2.dict' && cp '" + folder.Path() + "/big.index' '" +
                             folder.Path() + "/big2.index' && dictzip '" + folder.Path() +
                             "/big2.dict'");
    const DictdDatabase plain(folder.Path() + "/big.index", folder.Path() + "/big.dict");
    const DictdDatabase compressed(folder.Path() + "/big2.index", folder.Path() + "/big2.dict.dz");
    for (const std::string word : {"w0", "w777", "w1500", "w2222", "w2999"}) {
        ASSERT_EQ(plain.Definitions(word).size(), 1u) << word;
        EXPECT_EQ(compressed.Definitions(word), plain.Definitions(word)) << word;
    }
}

TEST(Dictd, IndexNumbersAreBase64Digits) {
    EXPECT_EQ(Base64Number("Nsy"), 13 * 64 * 64 + 44 * 64 + 50u);
    EXPECT_THROW(Base64Number("N-y"), SourceFailure);
    EXPECT_EQ(FindInIndex("cat\tB\tC\nCat\tD\tE\ndog\tF\tG\n", "CAT").size(), 2u);
}

TEST(DictServer, DefinesWordsOverRfc2229) {
    DictdFolder folder;
    folder.Add("english", kEngSpa);
    folder.Add("spare", ":spare:spare\nrepuesto\n");
    const test_support::DictServer server(folder, {"english", "spare"});
    const std::vector<std::tuple<std::string, std::string, std::string>> cases{
        {"!", "cat", "cat [kæt] gato;"},
        {"!", "spare", "spare [] repuesto;"},
        {"english", "spare", ""},
        {"*", "run", "run [rʌn] <verb> correr; <noun> carrera;"},
        {"!", "dog", ""},
    };
    for (const auto& [database, word, described] : cases) {
        DictServerSource source(server.Address(), database);
        EXPECT_EQ(Described(source.Lookup(word, Pair("en|es"))), described) << word;
    }
    const std::vector<Entry> entries =
        DictServerSource(server.Address(), "!").Lookup("cat", Pair("en|es"));
    EXPECT_EQ(entries.at(0).Source, "DICT " + server.Address() + ": english test");
}

TEST(DictServer, RefusalsAndUnreachableServersAreFailures) {
    DictdFolder folder;
    folder.Add("english", kEngSpa);
    const test_support::DictServer server(folder, {"english"});
    const std::vector<std::pair<std::string, std::string>> cases{
        {server.Address(), "550"},
        {"127.0.0.1:" + std::to_string(test_support::ClosedPort()), "cannot be reached"},
    };
    for (const auto& [address, reason] : cases) {
        try {
            DictServerSource(address, "nosuchdatabase").Lookup("cat", Pair("en|es"));
            ADD_FAILURE() << address;
        } catch (const SourceFailure& failure) {
            EXPECT_NE(std::string(failure.what()).find(reason), std::string::npos)
                << failure.what();
        }
    }
    EXPECT_FALSE(DictServerSource("", "!").Serves(Pair("en|es")));
}

TEST(GoogleWords, ReadsPartsOfSpeechDefinitionsExamplesAndTransliteration) {
    const std::string wordData =
        R"([[["你好","hello",null,null,10],[null,null,"Nǐ hǎo","həˈlō"]],)"
        R"([["interjection",["你好","喂"],[["你好",["Hello!","Hi!"],null,0.6],["喂",["Hey!"]]],"hello",9]],)"
        R"("en",null,null,null,1,[],[],[],[],[],)"
        R"([["exclamation",[["used as a greeting.","m.001","hello there, Katie!"]],"hello"]],)"
        R"([[["<b>hello</b> there, Katie!",null,null,null,3,"m.001"]]]])";
    const std::vector<std::tuple<int, std::string, std::string>> cases{
        {200, wordData,
         "hello [həˈlō] <interjection> 你好 (Hello!, Hi!); 喂 (Hey!); <exclamation · 释义> used as "
         "a greeting.;"},
        {200, R"([[["你好","hello",null,null,10]],null,"en"])", ""},
        {429, "[]", "failure: Google 暂时拒绝本机的请求 (HTTP 429)"},
        {200, "<html>sorry</html>", "failure: Google 暂时拒绝本机的请求 (HTTP 200)"},
        {500, "[]", "failure: Google 回答了 HTTP 500"},
        {200, "{\"error\"", "failure: Google's reply is not the word data it should be"},
    };
    test_support::ScriptedHttpServer server;
    GoogleWordSource source(server.Url(""), services::DefaultTransport());
    for (const auto& [status, body, described] : cases) {
        server.Enqueue(test_support::Reply::WithBody(status, "X", body));
        try {
            const std::vector<Entry> entries = source.Lookup("hello", Pair("en|zh-CN"));
            EXPECT_EQ(Described(entries), described);
            if (!entries.empty()) {
                EXPECT_EQ(entries[0].Examples, std::vector<std::string>{"hello there, Katie!"});
            }
        } catch (const SourceFailure& failure) {
            EXPECT_EQ("failure: " + std::string(failure.what()), described);
        }
    }
    EXPECT_EQ(server.Requests().at(0).Target,
              "/translate_a/"
              "single?client=gtx&sl=en&tl=zh-CN&dt=bd&dt=md&dt=ex&dt=rm&ie=UTF-8&oe=UTF-8&q=hello");
    EXPECT_FALSE(source.Serves(Pair("zh-CN|zh-TW")));
}

} // namespace
} // namespace quorvex::dictionaries
