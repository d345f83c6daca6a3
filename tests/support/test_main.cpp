// GoogleTest main owning a QApplication (offscreen unless a display is given), so
// tests can use widgets, timers and queued calls, and the program's notification
// centre, which the code under test posts to, and the device families' DPI tables and
// sample-rate rule, which the state layer reads, as the application's root would have
// installed them.
#include "DpiTables.h"
#include "FamilyTraits.h"
#include "InstalledInstance.h"
#include "NotificationCenter.h"
#include "QXToolManager.h"
#include "QXUserInfoData.h"

#include <QApplication>
#include <QLoggingCategory>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // As in the application, the web engine module, which some tests load, makes the
    // context it shares when it first loads.
    QApplication app(argc, argv);
    NotificationCenter notifications;
    ScopedInstall<NotificationCenter> installed(&notifications);
    QXUserInfoData::setDpiChoiceLookup(&DpiTables::choiceFor);
    QXToolManager::setWavSampleRateRule(&wavSampleRate);
    const int result = RUN_ALL_TESTS();
    // What a test left to be deleted later (a cancelled timer, a closed reply) goes now,
    // as the application's event loop would have let it: the leak check runs at exit.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
