#include "upgrader/upLanguages.h"

#include "platform/Exception.h"

#include <array>
#include <map>
#include <mutex>

namespace quorvex {
namespace {

using enum TupLanguage;

inline constexpr unsigned kPrimaryMask = 0x3FF;
inline constexpr unsigned kSubShift = 10;
inline constexpr unsigned kLangPortuguese = 0x16;
inline constexpr unsigned kSubLangBrazilian = 1;
inline constexpr unsigned kLangChinese = 0x04;
inline constexpr unsigned kSubLangSimplified = 2;

constexpr std::array<TupLanguageTable, 28> kTables{{
    {wlEnglish, 41000, 0x09, "en"},
    {wlRussian, 41050, 0x19, "ru"},
    {wlGerman, 41100, 0x07, "de"},
    {wlFrench, 41150, 0x0C, "fr"},
    {wlSpanish, 41200, 0x0A, "es"},
    {wlPortuguese, 41250, 0x16, "pt"},
    {wlPortugueseBrazilian, 41300, 0x16, "pt_BR"},
    {wlItalian, 41350, 0x10, "it"},
    {wlDutch, 41400, 0x13, "nl"},
    {wlDanish, 41450, 0x06, "da"},
    {wlSwedish, 41500, 0x1D, "sv"},
    {wlFinnish, 41550, 0x0B, "fi"},
    {wlEstonian, 41600, 0x25, "et"},
    {wlUkrainian, 41650, 0x22, "uk"},
    {wlPolish, 41700, 0x15, "pl"},
    {wlCzech, 41750, 0x05, "cs"},
    {wlHungarian, 41800, 0x0E, "hu"},
    {wlRomanian, 41850, 0x18, "ro"},
    {wlCatalan, 41900, 0x03, "ca"},
    {wlBasque, 41950, 0x2D, "eu"},
    {wlAfrikaans, 42000, 0x36, "af"},
    {wlChineseTraditional, 42050, 0x04, "zh_TW"},
    {wlChineseSimplified, 42100, 0x04, "zh_CN"},
    {wlIndonesian, 42150, 0x21, "id"},
    {wlMalay, 42200, 0x3E, "ms"},
    {wlIcelandic, 42250, 0x0F, "is"},
    {wlTurkish, 42300, 0x1F, "tr"},
    {wlNorwegian, 42350, 0x14, "no"},
}};

int DetectedBase() {
    return LanguageTable(LanguageForLangID(platform::SystemDefaultLangID())).BaseId;
}

// The choice every controller of the process shares, and who wants to hear of a change.
struct TLanguageState {
    std::mutex Lock;
    TupLanguage Language = wlAuto;
    int Base = DetectedBase();
    int NextListener = 0;
    std::map<int, std::function<void()>> Listeners;
};

TLanguageState& State() {
    static TLanguageState state;
    return state;
}

} // namespace

std::span<const TupLanguageTable> UpgraderLanguageTables() {
    return kTables;
}

const TupLanguageTable& LanguageTable(TupLanguage Language) {
    if (Language == wlAuto)
        throw Exception("The automatic language choice has no message table of its own");
    return kTables[static_cast<std::size_t>(Language) - 1];
}

TupLanguage LanguageForLangID(platform::TLangID LangID) {
    const unsigned primary = LangID & kPrimaryMask;
    const unsigned sub = static_cast<unsigned>(LangID) >> kSubShift;
    if (primary == kLangPortuguese)
        return sub == kSubLangBrazilian ? wlPortugueseBrazilian : wlPortuguese;
    if (primary == kLangChinese)
        return sub == kSubLangSimplified ? wlChineseSimplified : wlChineseTraditional;
    for (const TupLanguageTable& table : kTables)
        if (table.PrimaryLanguageId == primary)
            return table.Language;
    return wlEnglish;
}

int MessageBase() {
    TLanguageState& state = State();
    std::lock_guard lock(state.Lock);
    return state.Base;
}

void DetectLanguage() {
    const int base = DetectedBase();
    TLanguageState& state = State();
    std::lock_guard lock(state.Lock);
    state.Base = base;
}

TupLanguage UpgraderLanguage() {
    TLanguageState& state = State();
    std::lock_guard lock(state.Lock);
    return state.Language;
}

void SetUpgraderLanguage(TupLanguage Language) {
    TLanguageState& state = State();
    std::map<int, std::function<void()>> listeners;
    {
        std::lock_guard lock(state.Lock);
        if (Language == state.Language)
            return;
        state.Language = Language;
        if (Language != wlAuto)
            state.Base = LanguageTable(Language).BaseId;
        listeners = state.Listeners;
    }
    if (Language == wlAuto)
        DetectLanguage();
    // Called outside the lock: a listener reads the new texts.
    for (const auto& [id, listener] : listeners)
        listener();
}

TLanguageListener::TLanguageListener(std::function<void()> OnChange) {
    TLanguageState& state = State();
    std::lock_guard lock(state.Lock);
    id_ = state.NextListener++;
    state.Listeners.emplace(id_, std::move(OnChange));
}

TLanguageListener::~TLanguageListener() {
    TLanguageState& state = State();
    std::lock_guard lock(state.Lock);
    state.Listeners.erase(id_);
}

} // namespace quorvex
