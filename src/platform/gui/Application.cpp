#include "platform/gui/Application.h"

#include <QMessageBox>
#include <exception>

namespace quorvex::platform {

namespace {

void ShowMessage(QMessageBox::Icon icon, const std::string& text) {
    QMessageBox box(icon, QCoreApplication::applicationName(), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.exec();
}

} // namespace

TApplication::TApplication(int& argc, char** argv, const QString& title)
    : QApplication(argc, argv)
    , OnUnhandledFailure(ShowErrorMessage) {
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

void ShowPlainMessage(const std::string& text) {
    ShowMessage(QMessageBox::NoIcon, text);
}

void ShowErrorMessage(const std::string& text) {
    ShowMessage(QMessageBox::Critical, text);
}

} // namespace quorvex::platform
