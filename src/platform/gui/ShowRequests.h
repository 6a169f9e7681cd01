#pragma once

#include <QObject>
#include <chrono>
#include <functional>
#include <string>

class QLocalServer;

namespace quorvex::platform {

// How a second start of the program reaches the running one: the running instance listens on a
// local socket in the user's runtime folder, and a second start asks it there to show its
// window (a person whose window is hidden in the tray starts the program to get it back).
class TShowRequests : public QObject {
    Q_OBJECT
public:
    // Listens for the running instance named `name`, taking over a socket a dead instance
    // left behind; a failure to listen raises.
    TShowRequests(const std::string& name, QObject* parent);

    // Runs for every request to show the window.
    std::function<void()> OnShowRequest;

    // Asks the running instance named `name` to show its window; false when none answered
    // within `limit`.
    static bool AskToShow(const std::string& name, std::chrono::milliseconds limit);

private:
    void TakeConnection();

    QLocalServer* server_;
};

} // namespace quorvex::platform
