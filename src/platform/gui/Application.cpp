#include "platform/gui/Application.h"

#include <QLoggingCategory>
#include <QMessageBox>
#include <algorithm>
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

// Nothing in the program draws through OpenGL: widgets paint in software, and the web view is
// composited by Qt Quick's software back end (with its OpenGL one, Qt re-creates the window the
// view joins, which a user sees as the window vanishing and coming back). Without the GLX
// integration the OpenGL driver, some 50 MB with its shader compiler, is never loaded; the web
// engine then renders without the GPU, plenty for the panel's pages. Must come before the
// application object; what the user set stays.
int& RenderInSoftware(int& argc) {
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    // The web engine, loaded later (see TWebBrowser), counts on the shared context that this
    // asks the application object for.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return argc;
}

QtMessageHandler libraryMessageHandler = nullptr;

// What Qt and its web engine say on every start about the software rendering chosen above (and
// the sandbox a root user runs without): expected, and meaningless to a person.
bool ExpectedLibraryNotice(QtMsgType type, const QString& message) {
    static const QStringList notices{
        QStringLiteral("QXcbIntegration: Cannot create platform OpenGL context"),
        QStringLiteral("No suitable graphics backend found"),
        QStringLiteral("Sandboxing disabled by user.")};
    return type != QtCriticalMsg && type != QtFatalMsg &&
           std::any_of(notices.begin(), notices.end(),
                       [&](const QString& notice) { return message.startsWith(notice); });
}

void PassUnexpectedMessages(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (!ExpectedLibraryNotice(type, message))
        libraryMessageHandler(type, context, message);
}

// The web engine's own flag dump goes through a category; its other notices do not.
int& QuietLibraries(int& argc) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    libraryMessageHandler = qInstallMessageHandler(PassUnexpectedMessages);
    return RenderInSoftware(argc);
}

} // namespace

TApplication::TApplication(int& argc, char** argv, const QString& title)
    : QApplication(QuietLibraries(argc), argv)
    , OnUnhandledFailure([](const std::string& message) { ShowErrorMessage(message); }) {
    setApplicationName(title);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        OnUnhandledFailure(failure.what());
    } catch (...) {
        OnUnhandledFailure("发生了未知错误。");
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
