#include "platform/gui/ClipboardWatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quorvex::platform {

TClipboardWatch::TClipboardWatch(QObject* parent)
    : QObject(parent) {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &TClipboardWatch::Changed);
}

void TClipboardWatch::Register() {
    registered_ = true;
    Changed();
}

void TClipboardWatch::Unregister() {
    registered_ = false;
}

void TClipboardWatch::Changed() {
    if (registered_ && OnChange)
        OnChange(*this);
}

std::optional<std::string> TClipboardWatch::ReadText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

bool TClipboardWatch::OwnedByThisProgram() {
    return QGuiApplication::clipboard()->ownsClipboard();
}

} // namespace quorvex::platform
