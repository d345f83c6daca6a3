#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler would otherwise
// unwind through the toolkit's dispatch code; here it is reported as a crash instead.
class QXApplication : public QApplication {
    Q_OBJECT
public:
    QXApplication(int &argc, char **argv) : QApplication(argc, argv) {}
    bool notify(QObject *receiver, QEvent *event) override;
};
