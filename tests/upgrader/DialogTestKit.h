#pragma once

#include "download/upLogin.h"
#include "upgrader/upDialogHost.h"
#include "upgrader/upModal.h"
#include "upgrader/upWizardOptions.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quorvex::test_support {

// A controller as the dialogs see it, counting what they tell it.
class FakeDialogHost : public TupDialogHost {
public:
    const TupWizardOptions& WizardOptions() const override { return Options; }
    TupLoginComponent& Login() override { return LoginData; }
    std::string CurrentFileName() const override { return FileName; }
    void WizardClosed() override { ++Closed; }
    void CancelUpgrade() override { ++Cancelled; }

    TupWizardOptions Options;
    TupLoginComponent LoginData;
    std::string FileName = "quorvex";
    int Closed = 0;
    int Cancelled = 0;
};

// Puts itself in the place of the real message boxes and modal loops while it lives: boxes
// are recorded and answered from a queue (No when it is empty); a modal dialog is shown, counted
// and handed to OnDialog, whose return value is the dialog's result.
class ModalStandIn {
public:
    ModalStandIn();
    ~ModalStandIn();
    ModalStandIn(const ModalStandIn&) = delete;
    ModalStandIn& operator=(const ModalStandIn&) = delete;

    std::vector<TupMessageBoxRequest> Boxes;
    std::deque<int> Answers;
    std::function<int(QDialog&)> OnDialog;
    int DialogsShown = 0;
};

} // namespace quorvex::test_support
