#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>
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

    // The window the program's boxes are transient for, so that they show above it even when
    // it stays on top; none until one is set, and none again once it is gone.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }
    QWidget* MainWindow() const { return mainWindow_; }

private:
    QPointer<QWidget> mainWindow_;
};

// A plain message box (no icon, one OK button) titled with the application's title, transient
// for `parent`, or for the application's main window when none is given.
void ShowPlainMessage(const std::string& text, QWidget* parent = nullptr);

// A message box with the error icon, titled with the application's title, transient for
// `parent` or the application's main window.
void ShowErrorMessage(const std::string& text, QWidget* parent = nullptr);

} // namespace quorvex::platform
