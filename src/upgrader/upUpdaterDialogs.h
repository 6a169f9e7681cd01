#pragma once

#include <cstdint>
#include <string>

namespace quorvex {

class TupUpdater;

// Message box flags the controller uses, numbered as the upgrader's message boxes take them.
inline constexpr unsigned kUpdaterIconError = 0x10;
inline constexpr unsigned kUpdaterIconInformation = 0x40;

// Everything the controller shows the user: its message boxes, the upgrade question, the
// password dialog and the download wizard. The program's own shows the upgrader's windows;
// a test puts in one that records and answers.
class TupUpdaterDialogs {
public:
    virtual ~TupUpdaterDialogs() = default;

    // A box captioned with the table's entry 0, with one OK button and this icon.
    virtual void MessageBox(const std::string& Text, unsigned Flags) = 0;
    // The missing-file question: Yes and No, exclamation icon, system-modal; true for Yes.
    virtual bool AskYesNo(const std::string& Text, const std::string& Caption) = 0;
    // The upgrade message dialog; true for Yes.
    virtual bool AskUpgrade(const std::string& UpgradeMsg) = 0;
    // The password dialog; true for OK, having stored the login in the controller.
    virtual bool AskPassword(TupUpdater& Updater) = 0;

    // The download wizard: shown at the first file, told of each file and each progress
    // report, turned into its finished page, destroyed when the run stops.
    virtual void ShowWizard(TupUpdater& Updater) = 0;
    virtual bool WizardShown() const = 0;
    // File Index (from 0) of Count starts downloading from URL.
    virtual void WizardFileStarted(const std::string& URL, int Index, int Count) = 0;
    virtual void WizardFileSize(std::int64_t Bytes) = 0;
    virtual void WizardProgress(int PercentsDone, int TotalPercentsDone, double TransferRate,
                                int EstimatedTimeLeft) = 0;
    virtual void ShowWizardFinished() = 0;
    virtual void DestroyWizard() = 0;
};

} // namespace quorvex
