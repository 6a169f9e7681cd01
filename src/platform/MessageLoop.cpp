#include "platform/MessageLoop.h"

#include <QCoreApplication>
#include <QThread>

namespace quorvex::platform {

void ProcessMessages() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application != nullptr && QThread::currentThread() == application->thread())
        QCoreApplication::processEvents();
}

} // namespace quorvex::platform
