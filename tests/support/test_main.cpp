// GoogleTest main owning a QApplication (offscreen unless a display is given), so
// tests can use widgets, timers and queued calls, and the program's notification
// centre, which the code under test posts to as the application's root would have
// installed it.
#include "InstalledInstance.h"
#include "NotificationCenter.h"

#include <QApplication>
#include <QLoggingCategory>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    NotificationCenter notifications;
    ScopedInstall<NotificationCenter> installed(&notifications);
    return RUN_ALL_TESTS();
}
