#include "upgrader/DialogTestKit.h"

#include <QDialog>

namespace quorvex::test_support {

ModalStandIn::ModalStandIn() {
    UpgraderModals().MessageBox = [this](const TupMessageBoxRequest& request) {
        Boxes.push_back(request);
        if (Answers.empty())
            return mb::kIdNo;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    };
    UpgraderModals().ExecDialog = [this](QDialog& dialog) {
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        ++DialogsShown;
        return OnDialog ? OnDialog(dialog) : static_cast<int>(QDialog::Rejected);
    };
}

ModalStandIn::~ModalStandIn() {
    RestoreUpgraderModals();
}

} // namespace quorvex::test_support
