#include "DpiTables.h"
#include "ScopedUserInfoData.h"

#include <gtest/gtest.h>

namespace {

QStringList dpi(std::initializer_list<int> steps)
{
    QStringList out;
    for (int s : steps)
        out << QString::number(s) + "dpi";
    return out;
}

} // namespace

// Every row of the three tables, and the chip types they leave out.
TEST(DpiTables, EveryRow)
{
    const struct {
        int plan;
        std::initializer_list<int> chipTypes;
        std::initializer_list<int> steps; // empty: no row
    } rows[] = {
        {6, {1, 30}, {1000, 1200, 1600, 2400}},
        {7, {2, 4, 5, 6}, {800, 1000, 1300, 1600}},
        {6, {8}, {1000, 2400, 4000}},
        {7, {15, 16, 17, 18, 19, 24}, {1000, 1200, 1600, 2400, 4000}},
        {6, {20}, {1000, 1200, 1600, 2400, 4000, 4800}},
        {6, {21}, {1000, 1200, 1600, 2400, 4000, 4800, 6000}},
        {7, {22}, {800, 1200, 1600, 2000, 2400}},
        {6, {25}, {1200, 1600, 1800, 2000, 2400, 4000}},
        {7, {26}, {800, 1600, 2400, 4800, 6400, 10000}},
        {6, {27}, {800, 1600, 2400, 3200, 4000, 8000}},
        {7, {28}, {800, 1600, 2400, 3200}},
        {6, {29}, {800, 1200, 1600}},
        {7, {32}, {800, 1600, 2400, 3200, 4800, 6400}},
        {6, {38}, {1200, 1600, 2400, 3200}},
        {6, {3, 7, 9, 10, 11, 12, 13, 14, 23, 31, 33, 34, 35, 36, 37, 39, 0, -1}, {}},
        {4, {1}, {1000, 1200, 1600, 2400}},
        {4, {2, 4, 5, 6}, {800, 1000, 1300, 1600}},
        {4, {3, 7, 8, 9, 21, 0, -5}, {}},
        {0, {1}, {1200, 1600, 1800, 2000, 2400}},
        {1, {2, 4}, {600, 800, 1000, 1300, 1600}},
        {2, {3}, {800, 1200, 1600}},
        {3, {5}, {800, 1000, 1300, 1600}},
        {5, {6}, {800, 1000, 1200, 1600}},
        {5, {7}, {1200, 2400, 3200}},
        {2, {8, 9}, {1000, 1200, 1600, 2400, 4000}},
        {0, {10, 21, 0, -1}, {}},
    };
    for (const auto &row : rows) {
        for (int t : row.chipTypes) {
            const auto got = DpiTables::stepsFor(row.plan, t);
            if (row.steps.size() == 0) {
                EXPECT_EQ(got, std::nullopt) << "plan " << row.plan << " type " << t;
            } else {
                ASSERT_TRUE(got.has_value()) << "plan " << row.plan << " type " << t;
                EXPECT_EQ(*got, dpi(row.steps)) << "plan " << row.plan << " type " << t;
            }
        }
    }
}

// Chip type 1's own units, both ways. Sending and reading agree on every unit; a byte
// that is no unit never reads as a position outside the list.
TEST(DpiTables, RawAndIndexBothWays)
{
    const struct {
        quint64 icType;
        qint64 index;
        int raw;
    } units[] = {{1, 0, 32}, {1, 1, 42}, {1, 2, 48}, {1, 3, 54}, {1, 4, 63}, {2, 3, 3}, {4, 42, 42}, {5, 255, 255}};
    for (const auto &u : units) {
        EXPECT_EQ(DpiTables::rawFromIndex(u.icType, u.index), u.raw) << u.icType << " " << u.index;
        EXPECT_EQ(DpiTables::indexFromRaw(u.icType, u.raw), u.index) << u.icType << " " << u.raw;
    }
    // Chip 1 positions past the units go out as they are.
    EXPECT_EQ(DpiTables::rawFromIndex(1, 5), 5);
    EXPECT_EQ(DpiTables::rawFromIndex(1, -1), -1);
    const struct {
        int raw;
        qint64 index;
    } unknown[] = {{3, 3}, {4, 4}, {0, 0}, {5, 0}, {43, 0}, {255, 0}, {-1, 0}};
    for (const auto &u : unknown)
        EXPECT_EQ(DpiTables::indexFromRaw(1, u.raw), u.index) << u.raw;
}

TEST(DpiTables, StateListFollowsPlanProfileAndChipType)
{
    ScopedUserInfoData s;
    EXPECT_EQ(s->dpiArray(), std::nullopt);
    EXPECT_EQ(s->getMouseDpiArray(), dpi({800, 1000, 1200, 1600}));

    s->setChipPlan(0);
    s->setMouseDpiArrayWithType(1);
    EXPECT_EQ(s->getMouseDpiArray(), dpi({1200, 1600, 1800, 2000, 2400}));

    s->setChipPlan(4);
    s->setMouseDpiArrayWithType(3); // no row: the previous list stays
    EXPECT_EQ(s->getMouseDpiArray(), dpi({1200, 1600, 1800, 2000, 2400}));

    s->setChipPlan(6);
    s->setServiceDpiArr({"1600dpi", "3200dpi"});
    s->setMouseDpiArrayWithType(21);
    EXPECT_EQ(s->getMouseDpiArray(), QStringList({"1600dpi", "3200dpi"}));
    s->setMouseDpiArrayWithType(-3);
    EXPECT_EQ(s->getMouseDpiArray(), QStringList({"1600dpi", "3200dpi"}));

    s->setServiceDpiArr({});
    s->setMouseDpiArrayWithType(21);
    EXPECT_EQ(s->getMouseDpiArray(), dpi({1000, 1200, 1600, 2400, 4000, 4800, 6000}));

    s->setChipPlan(2); // the profile's list only counts for plans 6 and 7
    s->setServiceDpiArr({"1600dpi"});
    s->setMouseDpiArrayWithType(7);
    EXPECT_EQ(s->getMouseDpiArray(), dpi({1200, 2400, 3200}));

    EXPECT_EQ(QXUserInfoData::getIndexWithDpiNum(3), 3);
    EXPECT_EQ(QXUserInfoData::getDpiNumWithIndex(3), 3);
}
