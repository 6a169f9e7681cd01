#pragma once

#include <string>

namespace quorvex {

class TupLoginComponent;
class TupWizardOptions;

// What the upgrader's dialogs need of the controller that opens them.
class TupDialogHost {
public:
    virtual ~TupDialogHost() = default;

    virtual const TupWizardOptions& WizardOptions() const = 0;
    // The login the password dialog shows and fills in.
    virtual TupLoginComponent& Login() = 0;
    // The file name part of the address being downloaded.
    virtual std::string CurrentFileName() const = 0;
    // The wizard window has closed (finished or abandoned): the controller's wait ends.
    virtual void WizardClosed() = 0;
    // The user chose to abandon the upgrade in the wizard.
    virtual void CancelUpgrade() = 0;
};

} // namespace quorvex
