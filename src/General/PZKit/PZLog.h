#pragma once

#include <QDebug>
#include <QLoggingCategory>
#include <QString>

#include <functional>

// Developer diagnostics go through Qt's logging with a category per area:
//   qxInfo("hid") << "opened" << path;
// The log manager (foundation) installs the message handler that sends them to the
// console and the rotating log files.
#define qxDebug(area) qDebug().noquote() << "[" area "]"
#define qxInfo(area) qInfo().noquote() << "[" area "]"
#define qxWarning(area) qWarning().noquote() << "[" area "]"

// Logs a message only the first time its key is seen in this process: for platform
// services that are "not available" and would otherwise repeat on every call.
void qxLogOnce(const QString &key, const QString &message);
bool qxLoggedOnce(const QString &key);

// The user-facing daily log (`writeLog:`): device and speech events. Until the log
// writer installs itself the lines go to the developer log.
void writeLog(const QString &message);
void setWriteLogHandler(std::function<void(const QString &)> handler);
