#include "upgrader/upModal.h"

#include "upgrader/upMessages.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace quorvex {
namespace {

QMessageBox::Icon IconOf(unsigned flags) {
    switch (flags & mb::kIconMask) {
    case mb::kIconError:
        return QMessageBox::Critical;
    case mb::kIconQuestion:
        return QMessageBox::Question;
    case mb::kIconWarning:
        return QMessageBox::Warning;
    case mb::kIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// A window that stays on top would hide a box or dialog that does not: they join it there.
void KeepAboveWindowsOnTop(QWidget& window) {
    if (AnotherWindowStaysOnTop(window))
        window.setWindowFlag(Qt::WindowStaysOnTopHint);
}

int ShowRealMessageBox(const TupMessageBoxRequest& request) {
    const bool yesNo = (request.Flags & mb::kButtonsMask) == mb::kYesNo;
    QMessageBox box(IconOf(request.Flags), QString::fromStdString(request.Caption),
                    QString::fromStdString(request.Text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    request.Owner ? request.Owner : QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (request.Flags & mb::kSystemModal)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    KeepAboveWindowsOnTop(box);
    if (yesNo) {
        box.button(QMessageBox::Yes)->setText(QString::fromStdString(UpgraderText(upmsg::kYes)));
        box.button(QMessageBox::No)->setText(QString::fromStdString(UpgraderText(upmsg::kNo)));
    }
    const int answer = box.exec();
    if (answer == QMessageBox::Yes)
        return mb::kIdYes;
    if (answer == QMessageBox::No)
        return mb::kIdNo;
    return mb::kIdOk;
}

int ExecRealDialog(QDialog& dialog) {
    KeepAboveWindowsOnTop(dialog);
    return dialog.exec();
}

} // namespace

bool AnotherWindowStaysOnTop(const QWidget& Window) {
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != &Window && other->isVisible() &&
            other->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return true;
    return false;
}

TupModalSeam& UpgraderModals() {
    static TupModalSeam seam{ShowRealMessageBox, ExecRealDialog};
    return seam;
}

void RestoreUpgraderModals() {
    UpgraderModals() = TupModalSeam{ShowRealMessageBox, ExecRealDialog};
}

int ShowUpgraderMessage(const std::string& Text, const std::string& Caption, unsigned Flags,
                        QWidget* Owner) {
    return UpgraderModals().MessageBox({Caption, Text, Flags, Owner});
}

int UpgraderMessageBox(const std::string& Text, unsigned Flags) {
    return ShowUpgraderMessage(Text, UpgraderText(upmsg::kCaption), Flags);
}

} // namespace quorvex
