#pragma once

#include "log/DailyLogWriter.h"

// The application's daily log for one test, installed as the logs' start installs it
// (into the data root's Log folder), and put back when the test ends.
struct ApplicationDailyLog {
    DailyLogWriter writer;
    DailyLogWriter *previous = DailyLogWriter::setApplication(&writer);
    ~ApplicationDailyLog() { DailyLogWriter::setApplication(previous); }
};
