#include "platform/Exception.h"
#include "upgrader/upLanguages.h"
#include "upgrader/upMessages.h"

#include <QString>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

using namespace quorvex;

namespace {

std::string Entry(const TupLanguageTable& table, int entry) {
    return LoadUpgraderString(table.BaseId + entry);
}

std::vector<std::string> Placeholders(const std::string& text) {
    std::vector<std::string> found;
    for (auto at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1))
        for (const char* placeholder : {"%%", "%s", "%d", "%.2d", "%.1f"})
            if (text.compare(at, std::strlen(placeholder), placeholder) == 0) {
                found.push_back(placeholder);
                at += std::strlen(placeholder) - 1;
                break;
            }
    return found;
}

std::size_t PercentSigns(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '%'));
}

// Entries that rightly read as in English: "&OK" in most languages, and these words.
const std::map<std::string_view, std::set<int>> kSameAsEnglish = {
    {"es", {upmsg::kNo, upmsg::kError}},
    {"ca", {upmsg::kNo, upmsg::kError}},
    {"it", {upmsg::kPassword, upmsg::kNo}},
    {"nl", {upmsg::kLater}},
    {"af", {upmsg::kLater}},
};

} // namespace

TEST(MessageTables, EveryTableHas31EntriesWithTheEnglishPlaceholdersInOrder) {
    const TupLanguageTable& english = LanguageTable(TupLanguage::wlEnglish);
    ASSERT_EQ(UpgraderLanguageTables().size(), 28u);
    for (const TupLanguageTable& table : UpgraderLanguageTables())
        for (int entry = 0; entry < kMessagesPerTable; ++entry) {
            const std::string text = Entry(table, entry);
            EXPECT_FALSE(text.empty()) << table.TableName << " entry " << entry;
            EXPECT_EQ(Placeholders(text), Placeholders(Entry(english, entry)))
                << table.TableName << " entry " << entry << ": " << text;
            EXPECT_EQ(PercentSigns(text), Placeholders(text).size())
                << table.TableName << " entry " << entry << " has a stray %";
        }
    EXPECT_EQ(LoadUpgraderString(english.BaseId + kMessagesPerTable), "");
}

TEST(MessageTables, NoEntryIsLeftInEnglishByMistake) {
    const TupLanguageTable& english = LanguageTable(TupLanguage::wlEnglish);
    for (const TupLanguageTable& table : UpgraderLanguageTables()) {
        if (table.Language == TupLanguage::wlEnglish)
            continue;
        std::set<int> allowed{upmsg::kOK};
        if (const auto extra = kSameAsEnglish.find(table.TableName); extra != kSameAsEnglish.end())
            allowed.insert(extra->second.begin(), extra->second.end());
        for (int entry = 0; entry < kMessagesPerTable; ++entry) {
            if (Entry(table, entry) == Entry(english, entry)) {
                EXPECT_TRUE(allowed.contains(entry))
                    << table.TableName << " entry " << entry << " is still English";
            }
        }
    }
}

TEST(MessageTables, TheButtonsOfEachDialogHaveDistinctAccelerators) {
    const auto accelerator = [](const std::string& text) {
        const QString caption = QString::fromStdString(text);
        const auto amp = caption.indexOf('&');
        return amp < 0 || amp + 1 >= caption.size() ? QString() : caption.mid(amp + 1, 1).toLower();
    };
    for (const TupLanguageTable& table : UpgraderLanguageTables())
        for (auto [first, second] :
             {std::pair{upmsg::kYes, upmsg::kLater}, std::pair{upmsg::kOK, upmsg::kCancel},
              std::pair{upmsg::kNext, upmsg::kCancel}}) {
            const QString a = accelerator(Entry(table, first));
            EXPECT_FALSE(a.isEmpty()) << table.TableName << " entry " << first;
            EXPECT_NE(a.toStdString(), accelerator(Entry(table, second)).toStdString())
                << table.TableName << " entries " << first << " and " << second;
        }
}

TEST(MessageTables, EnglishAndSimplifiedChineseReadAsWritten) {
    const struct {
        int Id;
        const char* Text;
    } cases[] = {
        {41000, "Application update wizard"},
        {41008, "Estimated time left: %d:%.2d:%.2d"},
        {41010, "The update of %s has been successfully completed.\n\nPress the OK button to "
                "restart program."},
        {41018, "&Next >"},
        {41022, "Preparing. . ."},
        {41023, "A newer version of %s was released.\n%s\nDo you want to update your version "
                "with the latest one?"},
        {41025, "File which contains upgrade information was not found on developer's site."},
        {41029, "Access to remote file \"%s\" is password protected.\n\nPlease enter your "
                "username and password (received after registration) to continue software "
                "upgrade."},
        {41030, "Connection with remote server lost.\n\nPlease restore connection and try to\n"
                "upgrade this software again later."},
        {42100, "软件升级精灵"},
        {42109, "当前正在下载:%d of %d"},
        {42110, "%s 已经升级完成，\n\n请按[确定]键重新启动程序"},
        {42118, "[&N]下一个>"},
        {42123, "%s已经有新版本推出，\n%s\n您要升级到新版本吗？"},
        {42129,
         "远端的文档\"%s\"被密码保护，\n\n请输入您的帐号及密码[注册用户]来继续进行升级操作。"},
        {42130, "与远端服务器的连接中断，\n\n请重新连接后再进行升级操作。"},
        {41050, "Мастер обновления приложений"},
        {42050, "軟體升級精靈"},
        {kAppTitlePlaceholderId, "<AppTitle>"},
        {kUpgraderNameId, "Quorvex Updater"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoadUpgraderString(c.Id), c.Text) << c.Id;
    EXPECT_FALSE(LoadUpgraderString(kUnsetAppTitleMarkerId).empty());
}

TEST(ParseMessageTable, ReadsEntriesInAnyOrderWithEscapes) {
    const auto entries = ParseMessageTable("test", "# comment\n\n1=b\\\\c\r\n0=a\\nb= c\n2=\n", 3);
    EXPECT_EQ(entries, (std::vector<std::string>{"a\nb= c", "b\\c", ""}));
}

TEST(ParseMessageTable, RejectsWhatIsNotATableWithAClearMessage) {
    const struct {
        const char* Data;
        const char* Says;
    } cases[] = {
        {"0=a\n1=b\n", "lacks entry 2"},    {"0=a\n1=b\n2=c\n3=d\n", "line 4"},
        {"0=a\n0=b\n1=c\n2=d\n", "line 2"}, {"0=a\nx=b\n", "line 2"},
        {"0=a\n1 b\n", "line 2"},           {"0=a\n1=b\\t\n2=c\n", "backslash"},
        {"0=a\n1=b\\\n2=c\n", "backslash"},
    };
    for (const auto& c : cases) {
        try {
            ParseMessageTable("xx", c.Data, 3);
            ADD_FAILURE() << "accepted " << c.Data;
        } catch (const Exception& failure) {
            EXPECT_NE(std::string(failure.what()).find(c.Says), std::string::npos)
                << failure.what();
            EXPECT_NE(std::string(failure.what()).find("xx"), std::string::npos);
        }
    }
}

TEST(ParseMessageTable, MutatedTablesAreReadWholeOrRefusedWithAnException) {
    const std::string table = "# t\n0=a\\nb\n1=%s \\\\ x\n2=c\n";
    std::mt19937 random(20081208);
    const auto below = [&](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
    };
    const char pieces[] = {'\n', '\r', '=', '\\', 'n', '#', '0', '1', '2', '9', '-', '\0', 'x'};
    int accepted = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string data = table;
        for (std::size_t m = 1 + below(4); m > 0 && !data.empty(); --m) {
            const std::size_t at = below(data.size());
            if (below(2) == 0)
                data[at] = pieces[below(std::size(pieces))];
            else
                data.erase(at, 1);
        }
        try {
            ASSERT_EQ(ParseMessageTable("fuzz", data, 3).size(), 3u);
            ++accepted;
        } catch (const Exception&) {
        }
    }
    EXPECT_GT(accepted, 0);
}
