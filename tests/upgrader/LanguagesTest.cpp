#include "platform/SystemLanguage.h"
#include "upgrader/upLanguages.h"
#include "upgrader/upMessages.h"
#include "upgrader/upWizardOptions.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

using namespace quorvex;
using platform::LangIDFromLocaleName;
using platform::MakeLangID;

namespace {

// Sets the locale variables for one test and puts back what was there.
class LocaleScope {
public:
    LocaleScope(const char* all, const char* messages, const char* lang) {
        Set("LC_ALL", all);
        Set("LC_MESSAGES", messages);
        Set("LANG", lang);
    }
    ~LocaleScope() {
        for (const auto& [name, value] : saved_)
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        SetUpgraderLanguage(TupLanguage::wlAuto);
        DetectLanguage();
    }

private:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        value ? setenv(name, value, 1) : unsetenv(name);
    }

    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

} // namespace

TEST(LangIDFromLocaleName, MapsLanguageAndRegion) {
    const struct {
        const char* Locale;
        platform::TLangID Expected;
    } cases[] = {
        {"zh_CN.UTF-8", MakeLangID(0x04, 2)},
        {"zh_SG", MakeLangID(0x04, 2)},
        {"zh_TW.Big5", MakeLangID(0x04, 1)},
        {"zh_HK.UTF-8", MakeLangID(0x04, 3)},
        {"pt_BR.UTF-8", MakeLangID(0x16, 1)},
        {"pt_PT@euro", MakeLangID(0x16, 2)},
        {"pt", MakeLangID(0x16, 2)},
        {"ru_RU.KOI8-R", MakeLangID(0x19, 1)},
        {"de_AT", MakeLangID(0x07, 1)},
        {"nb_NO.UTF-8", MakeLangID(0x14, 1)},
        {"ja_JP.UTF-8", MakeLangID(0x11, 1)},
        {"en_US", MakeLangID(0x09, 1)},
        {"C", 0},
        {"C.UTF-8", 0},
        {"POSIX", 0},
        {"", 0},
        {"xx_YY", 0},
        {"sr_RS@latin", MakeLangID(0x1A, 1)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LangIDFromLocaleName(c.Locale), c.Expected) << c.Locale;
}

TEST(LanguageForLangID, FollowsPrimaryAndSubLanguage) {
    using enum TupLanguage;
    const struct {
        platform::TLangID Id;
        TupLanguage Expected;
    } cases[] = {
        {MakeLangID(0x04, 2), wlChineseSimplified},
        {MakeLangID(0x04, 1), wlChineseTraditional},
        {MakeLangID(0x04, 3), wlChineseTraditional},
        {MakeLangID(0x04, 4), wlChineseTraditional},
        {MakeLangID(0x16, 1), wlPortugueseBrazilian},
        {MakeLangID(0x16, 2), wlPortuguese},
        {MakeLangID(0x19, 1), wlRussian},
        {MakeLangID(0x14, 2), wlNorwegian},
        {MakeLangID(0x3E, 1), wlMalay},
        {MakeLangID(0x09, 2), wlEnglish},
        {MakeLangID(0x11, 1), wlEnglish},
        {0, wlEnglish},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageForLangID(c.Id), c.Expected) << std::hex << c.Id;
}

TEST(DetectLanguage, ReadsLcAllThenLcMessagesThenLang) {
    const struct {
        const char* All;
        const char* Messages;
        const char* Lang;
        int ExpectedBase;
    } cases[] = {
        {"zh_CN.UTF-8", "ru_RU", "de_DE", 42100}, {"", "ru_RU.UTF-8", "de_DE", 41050},
        {nullptr, nullptr, "de_DE.UTF-8", 41100}, {nullptr, nullptr, "zh_TW.UTF-8", 42050},
        {nullptr, nullptr, "zh_HK.UTF-8", 42050}, {nullptr, nullptr, "zh_SG.UTF-8", 42100},
        {nullptr, nullptr, "pt_BR.UTF-8", 41300}, {nullptr, nullptr, "pt_PT.UTF-8", 41250},
        {nullptr, nullptr, "ja_JP.UTF-8", 41000}, {nullptr, nullptr, "C", 41000},
        {nullptr, nullptr, "POSIX", 41000},       {nullptr, nullptr, nullptr, 41000},
    };
    for (const auto& c : cases) {
        LocaleScope locale(c.All, c.Messages, c.Lang);
        DetectLanguage();
        EXPECT_EQ(MessageBase(), c.ExpectedBase)
            << (c.All ? c.All : "-") << " " << (c.Messages ? c.Messages : "-") << " "
            << (c.Lang ? c.Lang : "-");
    }
}

TEST(WizardLanguage, OneControllerSwitchesTheTextsOfEvery) {
    LocaleScope locale(nullptr, nullptr, "zh_CN.UTF-8");
    DetectLanguage();
    TupWizardOptions first, second;
    EXPECT_EQ(UpgraderText(upmsg::kCaption), "软件升级精灵");

    first.SetLanguage(TupLanguage::wlRussian);
    EXPECT_EQ(second.Language(), TupLanguage::wlRussian);
    EXPECT_EQ(MessageBase(), 41050);
    EXPECT_EQ(UpgraderText(upmsg::kCaption), "Мастер обновления приложений");

    second.SetLanguage(TupLanguage::wlAuto);
    EXPECT_EQ(first.Language(), TupLanguage::wlAuto);
    EXPECT_EQ(MessageBase(), 42100);
}

TEST(WizardLanguage, ListenersHearOnlyActualChangesWhileRegistered) {
    LocaleScope locale(nullptr, nullptr, "en_US");
    int heard = 0;
    std::string caption;
    {
        TLanguageListener listener([&] {
            ++heard;
            caption = UpgraderText(upmsg::kCaption);
        });
        SetUpgraderLanguage(TupLanguage::wlGerman);
        EXPECT_EQ(caption, "Assistent zur Programmaktualisierung");
        SetUpgraderLanguage(TupLanguage::wlGerman);
        EXPECT_EQ(heard, 1);
        SetUpgraderLanguage(TupLanguage::wlAuto);
        EXPECT_EQ(heard, 2);
        EXPECT_EQ(caption, "Application update wizard");
    }
    SetUpgraderLanguage(TupLanguage::wlFrench);
    EXPECT_EQ(heard, 2);
}

TEST(WizardLanguage, SettingTheSameMemberKeepsATableChosenSinceByDetection) {
    LocaleScope locale(nullptr, nullptr, "de_DE");
    DetectLanguage();
    TupWizardOptions options;
    options.SetLanguage(TupLanguage::wlAuto);
    EXPECT_EQ(MessageBase(), 41100);
    EXPECT_TRUE(options.Enabled);
    EXPECT_FALSE(options.HideFileLocation);
    EXPECT_TRUE(options.StayOnTop);
    EXPECT_TRUE(options.SidePicture.empty());
}
