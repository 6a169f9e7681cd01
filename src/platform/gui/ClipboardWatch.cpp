#include "platform/gui/ClipboardWatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quorvex::platform {

namespace {

// How password managers (KeePassXC, KDE's own) mark a copied password, so that clipboard tools
// keep their hands off it.
inline constexpr const char* kPasswordManagerHint = "x-kde-passwordManagerHint";
inline constexpr const char* kSecret = "secret";

const QMimeData* ClipboardData() {
    return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

} // namespace

TClipboardWatch::TClipboardWatch(QObject* parent)
    : QObject(parent) {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &TClipboardWatch::Changed);
}

void TClipboardWatch::Register() {
    const bool firstTime = !seenOnce_;
    registered_ = true;
    // Registering again must not take back what the window has already seen: the person may
    // have typed over it since.
    if (firstTime || ReadText() != seen_)
        Changed();
}

void TClipboardWatch::Unregister() {
    registered_ = false;
}

void TClipboardWatch::SetPaused(bool paused) {
    paused_ = paused;
}

void TClipboardWatch::Changed() {
    if (!registered_)
        return;
    // What comes while paused counts as seen, so that registering again later skips it too.
    seen_ = ReadText();
    seenOnce_ = true;
    if (!paused_ && OnChange)
        OnChange(*this);
}

std::optional<std::string> TClipboardWatch::ReadText() {
    const QMimeData* data = ClipboardData();
    if (data == nullptr || !data->hasText() || MarkedSecret())
        return std::nullopt;
    return data->text().toStdString();
}

bool TClipboardWatch::MarkedSecret() {
    const QMimeData* data = ClipboardData();
    return data != nullptr && data->data(kPasswordManagerHint).trimmed() == kSecret;
}

bool TClipboardWatch::OwnedByThisProgram() {
    return QGuiApplication::clipboard()->ownsClipboard();
}

} // namespace quorvex::platform
