#include "ManualScheduler.h"
#include "keys/CenterButtonClassifier.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(CenterButton, PressesAreClassifiedByTheirTiming)
{
    struct Row {
        const char *what;
        std::vector<std::pair<int, int>> presses; // down and up times in ms (-1: not seen)
        QStringList expected;                     // "kind@ms"
    };
    const Row rows[] = {
        {"a quick press waits for a second one", {{0, 200}}, {"1@550"}},
        {"a release without its press", {{-1, 100}}, {}},
        {"a press over 350 ms is a single at once", {{0, 360}}, {"1@360"}},
        {"two quick presses are one double", {{0, 100}, {250, 350}}, {"2@350"}},
        {"a held button", {{0, 1500}}, {"3@1000", "4@1500"}},
        {"a slow second press absorbs the first", {{0, 100}, {300, 800}}, {"1@800"}},
        {"each release waits on its own", {{0, 50}, {100, 150}, {200, 250}}, {"2@150", "1@400"}},
    };
    // Also on a busy machine, where a timer's ticks come late and fewer: only the time
    // that passed counts.
    for (const bool busy : {false, true})
        for (const Row &row : rows) {
            ManualScheduler sched;
            sched.setBusy(busy);
            QStringList got;
            CenterButtonClassifier classifier(
                sched, [&](int kind) { got << QStringLiteral("%1@%2").arg(kind).arg(sched.monotonicMs()); });
            for (const auto &[down, up] : row.presses) {
                if (down >= 0) {
                    sched.advance(down - sched.monotonicMs());
                    classifier.buttonDown();
                }
                sched.advance(up - sched.monotonicMs());
                classifier.buttonUp();
            }
            sched.advance(2000);
            EXPECT_EQ(got, row.expected) << row.what << (busy ? " (busy)" : "");
        }
}

} // namespace
