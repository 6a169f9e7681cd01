#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace quorvex::platform {

// The application object. A failure that leaves an event handler is shown in a message box
// (error icon, application title) and the program goes on, instead of ending it.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv, const QString& title);

    bool notify(QObject* receiver, QEvent* event) override;

    // How a failure that left a handler is reported; a message box unless replaced.
    std::function<void(const std::string& message)> OnUnhandledFailure;
};

// A plain message box (no icon, one OK button) titled with the application's title.
void ShowPlainMessage(const std::string& text);

// A message box with the error icon, titled with the application's title.
void ShowErrorMessage(const std::string& text);

} // namespace quorvex::platform
