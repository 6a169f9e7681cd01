#pragma once

#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace quorvex {

// Message box styles and answers, numbered as the controller has them.
namespace mb {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kButtonsMask = 0xF;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kIconMask = 0xF0;
inline constexpr unsigned kSystemModal = 0x1000;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
} // namespace mb

struct TupMessageBoxRequest {
    std::string Caption;
    std::string Text;
    unsigned Flags;
    // The window the box belongs to and stays above; the active window when null.
    QWidget* Owner = nullptr;
};

// Where the upgrader's message boxes and modal dialogs are shown: real ones unless a test
// puts its own in, so that no test waits on a modal loop. The real ones stay on top when
// another window (the wizard) does, so that they never hide behind it.
struct TupModalSeam {
    // Shows the box and returns the answer (mb::kIdYes...).
    std::function<int(const TupMessageBoxRequest&)> MessageBox;
    // Runs the dialog modally and returns its result code.
    std::function<int(QDialog&)> ExecDialog;
};

TupModalSeam& UpgraderModals();
// Puts the real message box and modal loop back.
void RestoreUpgraderModals();

// Whether a visible top-level window other than Window stays above all others.
bool AnotherWindowStaysOnTop(const QWidget& Window);

// A message box with the given caption; returns the answer.
int ShowUpgraderMessage(const std::string& Text, const std::string& Caption, unsigned Flags,
                        QWidget* Owner = nullptr);

// A message box captioned with entry 0 of the chosen table.
int UpgraderMessageBox(const std::string& Text, unsigned Flags);

} // namespace quorvex
