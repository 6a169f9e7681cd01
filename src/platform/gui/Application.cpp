#include "platform/gui/Application.h"

#include <QMessageBox>
#include <exception>

namespace quorvex::platform {

namespace {

QWidget* MainWindowOfTheApplication() {
    const auto* application = dynamic_cast<TApplication*>(QCoreApplication::instance());
    return application != nullptr ? application->MainWindow() : nullptr;
}

void ShowMessage(QMessageBox::Icon icon, const std::string& text, QWidget* parent) {
    QMessageBox box(icon, QCoreApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::Ok, parent != nullptr ? parent : MainWindowOfTheApplication());
    box.exec();
}

} // namespace

TApplication::TApplication(int& argc, char** argv, const QString& title)
    : QApplication(argc, argv)
    , OnUnhandledFailure([](const std::string& message) { ShowErrorMessage(message); }) {
    setApplicationName(title);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        OnUnhandledFailure(failure.what());
    } catch (...) {
        OnUnhandledFailure("Unknown failure");
    }
    return true;
}

void ShowPlainMessage(const std::string& text, QWidget* parent) {
    ShowMessage(QMessageBox::NoIcon, text, parent);
}

void ShowErrorMessage(const std::string& text, QWidget* parent) {
    ShowMessage(QMessageBox::Critical, text, parent);
}

} // namespace quorvex::platform
