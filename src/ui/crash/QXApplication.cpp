#include "QXApplication.h"

#include "crash/QXUncaughtExceptionHandler.h"

bool QXApplication::notify(QObject *receiver, QEvent *event)
{
    return QXUncaughtExceptionHandler::runGuarded([&] { return QApplication::notify(receiver, event); });
}
