#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

namespace quorvex::platform {

// Watches the system clipboard (QClipboard's Clipboard mode, not the X selection). The first
// registration delivers one change at once, as joining the clipboard-viewer chain does on
// Windows, so the text already on the clipboard is taken as if it had just been copied; a later
// one does so only when the clipboard changed since the last change the watch delivered.
// Content a password manager marks as secret is never read.
class TClipboardWatch : public QObject {
    Q_OBJECT
public:
    explicit TClipboardWatch(QObject* parent = nullptr);

    std::function<void(TClipboardWatch& sender)> OnChange;

    // Starts watching (again) and reports one change at once (see above).
    void Register();
    // Stops watching; later clipboard changes are no longer reported.
    void Unregister();
    bool IsRegistered() const { return registered_; }
    // While paused, changes are noticed but not reported.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }

    // The clipboard's text as UTF-8, or nothing when it holds no text (an image, say) or a
    // secret.
    static std::optional<std::string> ReadText();
    // True when a password manager marked the clipboard's content as secret.
    static bool MarkedSecret();
    // True when this program itself put the clipboard's content there.
    static bool OwnedByThisProgram();

private:
    void Changed();

    bool registered_ = false;
    bool paused_ = false;
    bool seenOnce_ = false;
    std::optional<std::string> seen_;
};

} // namespace quorvex::platform
