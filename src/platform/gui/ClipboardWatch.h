#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

namespace quorvex::platform {

// Watches the system clipboard (QClipboard's Clipboard mode, not the X selection). Registering
// delivers one change at once, as joining the clipboard-viewer chain does on Windows, so the
// text already on the clipboard is taken as if it had just been copied.
class TClipboardWatch : public QObject {
    Q_OBJECT
public:
    explicit TClipboardWatch(QObject* parent = nullptr);

    std::function<void(TClipboardWatch& sender)> OnChange;

    // Starts watching (again) and reports one change at once.
    void Register();
    // Stops watching; later clipboard changes are no longer reported.
    void Unregister();
    bool IsRegistered() const { return registered_; }

    // The clipboard's text as UTF-8, or nothing when it holds no text (an image, say).
    static std::optional<std::string> ReadText();
    // True when this program itself put the clipboard's content there.
    static bool OwnedByThisProgram();

private:
    void Changed();

    bool registered_ = false;
};

} // namespace quorvex::platform
