#pragma once

#include "platform/SystemLanguage.h"

#include <functional>
#include <span>
#include <string_view>

namespace quorvex {

// The languages of the upgrader's messages; wlAuto follows the system.
enum class TupLanguage {
    wlAuto,
    wlEnglish,
    wlRussian,
    wlGerman,
    wlFrench,
    wlSpanish,
    wlPortuguese,
    wlPortugueseBrazilian,
    wlItalian,
    wlDutch,
    wlDanish,
    wlSwedish,
    wlFinnish,
    wlEstonian,
    wlUkrainian,
    wlPolish,
    wlCzech,
    wlHungarian,
    wlRomanian,
    wlCatalan,
    wlBasque,
    wlAfrikaans,
    wlChineseTraditional,
    wlChineseSimplified,
    wlIndonesian,
    wlMalay,
    wlIcelandic,
    wlTurkish,
    wlNorwegian
};

// One message table: its language, the id of its entry 0, the system language that selects
// it, and the name of its data file.
struct TupLanguageTable {
    TupLanguage Language;
    int BaseId;
    unsigned PrimaryLanguageId;
    std::string_view TableName;
};

inline constexpr int kMessagesPerTable = 31;

// Every language but wlAuto, in ordinal order.
std::span<const TupLanguageTable> UpgraderLanguageTables();
const TupLanguageTable& LanguageTable(TupLanguage Language);

// The table a system language selects: Brazilian Portuguese for sub-language 1, Simplified
// Chinese for sub-language 2, otherwise the first table of the primary language; English
// when there is none.
TupLanguage LanguageForLangID(platform::TLangID LangID);

// The id of entry 0 of the chosen table, the same for the whole process.
int MessageBase();

// Chooses the table from the system's language.
void DetectLanguage();

// The process-wide language setting; wlAuto until something else is chosen.
TupLanguage UpgraderLanguage();
// A change of the setting: wlAuto detects again, any other member selects its table. Every
// registered listener is told of an actual change.
void SetUpgraderLanguage(TupLanguage Language);

// Keeps a listener to language changes registered for as long as it lives.
class TLanguageListener {
public:
    explicit TLanguageListener(std::function<void()> OnChange);
    ~TLanguageListener();
    TLanguageListener(const TLanguageListener&) = delete;
    TLanguageListener& operator=(const TLanguageListener&) = delete;

private:
    int id_;
};

} // namespace quorvex
