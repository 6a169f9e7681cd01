// Random and mutated information files: the readers must neither crash, hang nor read past the
// text (the sanitizer build runs this too), and must agree with a plain reference reading.
#include "upgrader/upUpdateInfo.h"
#include "upgrader/upVersionDate.h"

#include <array>
#include <gtest/gtest.h>
#include <random>

using namespace quorvex;

namespace {

inline constexpr unsigned kSeed = 20081208;
inline constexpr int kIterations = 20000;
inline constexpr std::size_t kMaxPieces = 60;
inline constexpr int kMaxMutations = 12;

const char* const kPieces[] = {
    "#",        "=",          "{",          "}",      "#url=",    "#URL",
    "#url0=",   "#url1=",     "#Url2=",     "#url3=", "url",      "#message={",
    "#method=", "#version=",  "#date=",     "1",      "2",        "0",
    "12",       "/",          "\r\n",       "\n",     "\t",       " ",
    "a",        "Z",          "http://h/f", "\x80",   "\xFF",     "\x1F",
    "1.3.3.10", "12/08/2008", "02/30/2008", "9/9/9",  "-1/-1/-1", "//"};

const char* const kSample = "#version=1.3.3.10\r\n#date=12/08/2008\r\n"
                            "#message={Line one\r\nLine two}\r\n#method=1\r\n"
                            "#url=http://h/a\r\n#url0=http://h/b\r\n#url3=http://h/c\r\n"
                            "#url4=http://h/d\r\n";

const char* const kKeys[] = {"version", "date", "url",     "url0",  "url1",
                             "url2",    "url3", "message", "method"};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// The same reading done position by position, to compare against.
std::string ReferenceValue(const std::string& text, const std::string& key, bool braced) {
    const std::string marker = "#" + key + (braced ? "={" : "=");
    for (std::size_t at = 0; at + marker.size() <= text.size(); ++at) {
        std::size_t i = 0;
        while (i < marker.size() && Lower(text[at + i]) == marker[i])
            ++i;
        if (i < marker.size())
            continue;
        std::string value;
        for (std::size_t j = at + marker.size(); j < text.size(); ++j) {
            const auto c = static_cast<unsigned char>(text[j]);
            if (braced ? c == '}' : c < 32)
                break;
            value += text[j];
        }
        return value;
    }
    return {};
}

std::vector<std::string> ReferenceList(const std::string& text) {
    std::vector<std::string> files;
    for (const char* key : {"url", "url0"})
        if (auto value = ReferenceValue(text, key, false); !value.empty())
            files.push_back(value);
    for (std::size_t n = files.size() + 1;; ++n) {
        auto value = ReferenceValue(text, "url" + std::to_string(n), false);
        if (value.empty())
            return files;
        files.push_back(value);
    }
}

class Generator {
public:
    std::string RandomFile() {
        std::string text;
        const std::size_t pieces = Below(kMaxPieces);
        for (std::size_t i = 0; i < pieces; ++i)
            text += Coin() ? std::string(kPieces[Below(std::size(kPieces))])
                           : std::string(1, static_cast<char>(Below(256)));
        return text;
    }

    std::string MutatedSample() {
        std::string text = kSample;
        const int mutations = 1 + static_cast<int>(Below(kMaxMutations));
        for (int i = 0; i < mutations && !text.empty(); ++i) {
            const std::size_t at = Below(text.size());
            switch (Below(4)) {
            case 0:
                text[at] = static_cast<char>(Below(256));
                break;
            case 1:
                text.erase(at, 1 + Below(8));
                break;
            case 2:
                text.insert(at, kPieces[Below(std::size(kPieces))]);
                break;
            default:
                text.resize(at);
                break;
            }
        }
        return text;
    }

    std::string DateLike() {
        std::string text;
        for (int part = 0; part < 3; ++part) {
            if (part > 0 && Below(10) > 0)
                text += '/';
            const std::size_t digits = Below(6);
            for (std::size_t i = 0; i < digits; ++i)
                text += Below(12) == 0 ? static_cast<char>(Below(256))
                                       : static_cast<char>('0' + Below(10));
        }
        return text;
    }

private:
    std::size_t Below(std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit - 1)(random_);
    }
    bool Coin() { return Below(2) == 0; }

    std::mt19937 random_{kSeed};
};

void ExpectReadersAgree(const std::string& text) {
    for (const char* key : kKeys)
        for (bool braced : {false, true})
            ASSERT_EQ(InfoValue(text, key, braced), ReferenceValue(text, key, braced))
                << "key " << key << " in " << testing::PrintToString(text);
    ASSERT_EQ(InfoFileList(text), ReferenceList(text)) << testing::PrintToString(text);
    const auto method = UpgradeMethodCode(InfoUpgradeMethod(text));
    ASSERT_TRUE(method >= 0 && method <= 2);
}

} // namespace

TEST(InfoFileFuzz, RandomFilesReadLikeTheReference) {
    Generator generator;
    for (int i = 0; i < kIterations; ++i)
        ExpectReadersAgree(generator.RandomFile());
}

TEST(InfoFileFuzz, MutatedFilesReadLikeTheReference) {
    Generator generator;
    for (int i = 0; i < kIterations; ++i)
        ExpectReadersAgree(generator.MutatedSample());
}

TEST(InfoFileFuzz, ALongRunOfNumberedUrlsEndsAtTheLastOne) {
    std::string text;
    for (int n = 1; n <= 2000; ++n)
        text += "#url" + std::to_string(n) + "=f" + std::to_string(n) + "\n";
    const auto files = InfoFileList(text);
    ASSERT_EQ(files.size(), 2000u);
    EXPECT_EQ(files.back(), "f2000");
}

TEST(VersionDateFuzz, EveryTextGivesAWholeDayThatFormatsAndReadsBack) {
    Generator generator;
    for (int i = 0; i < kIterations; ++i) {
        const std::string text = i % 2 ? generator.DateLike() : generator.RandomFile();
        const TDateTime date = ParseVersionDate(text);
        ASSERT_EQ(date, static_cast<double>(static_cast<long long>(date)))
            << testing::PrintToString(text);
        ASSERT_EQ(ParseVersionDate(FormatVersionDate(date)), date) << testing::PrintToString(text);
    }
}
