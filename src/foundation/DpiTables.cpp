#include "DpiTables.h"

#include <array>
#include <span>

namespace {

// One row: the chip types it serves and their steps. Unused slots are 0.
struct DpiRow {
    std::array<int, 6> chipTypes;
    std::array<int, 7> steps;
};

// Plans 6 and 7 when the device profile gives no list.
constexpr DpiRow kPlan67[] = {
    {{1, 30}, {1000, 1200, 1600, 2400}},
    {{2, 4, 5, 6}, {800, 1000, 1300, 1600}},
    {{8}, {1000, 2400, 4000}},
    {{15, 16, 17, 18, 19, 24}, {1000, 1200, 1600, 2400, 4000}},
    {{20}, {1000, 1200, 1600, 2400, 4000, 4800}},
    {{21}, {1000, 1200, 1600, 2400, 4000, 4800, 6000}},
    {{22}, {800, 1200, 1600, 2000, 2400}},
    {{25}, {1200, 1600, 1800, 2000, 2400, 4000}},
    {{26}, {800, 1600, 2400, 4800, 6400, 10000}},
    {{27}, {800, 1600, 2400, 3200, 4000, 8000}},
    {{28}, {800, 1600, 2400, 3200}},
    {{29}, {800, 1200, 1600}},
    {{32}, {800, 1600, 2400, 3200, 4800, 6400}},
    {{38}, {1200, 1600, 2400, 3200}},
};

constexpr DpiRow kPlan4[] = {
    {{1}, {1000, 1200, 1600, 2400}},
    {{2, 4, 5, 6}, {800, 1000, 1300, 1600}},
};

// Plans 0, 1, 2, 3 and 5.
constexpr DpiRow kOtherPlans[] = {
    {{1}, {1200, 1600, 1800, 2000, 2400}},
    {{2, 4}, {600, 800, 1000, 1300, 1600}},
    {{3}, {800, 1200, 1600}},
    {{5}, {800, 1000, 1300, 1600}},
    {{6}, {800, 1000, 1200, 1600}},
    {{7}, {1200, 2400, 3200}},
    {{8, 9}, {1000, 1200, 1600, 2400, 4000}},
};

QStringList labels(std::span<const int> steps)
{
    QStringList out;
    for (int dpi : steps) {
        if (dpi == 0)
            break;
        out << QString::number(dpi) + QStringLiteral("dpi");
    }
    return out;
}

std::optional<QStringList> lookUp(std::span<const DpiRow> table, qint64 chipType)
{
    if (chipType <= 0) // 0 marks an unused slot; negative types have no row
        return std::nullopt;
    for (const DpiRow &row : table) {
        for (int t : row.chipTypes) {
            if (t == chipType)
                return labels(row.steps);
        }
    }
    return std::nullopt;
}

} // namespace

namespace DpiTables {

std::optional<QStringList> stepsFor(qint64 chipPlan, qint64 chipType)
{
    if (chipPlan == 6 || chipPlan == 7)
        return lookUp(kPlan67, chipType);
    if (chipPlan == 4)
        return lookUp(kPlan4, chipType);
    return lookUp(kOtherPlans, chipType);
}

QStringList defaultSteps()
{
    return {QStringLiteral("800dpi"), QStringLiteral("1000dpi"), QStringLiteral("1200dpi"),
            QStringLiteral("1600dpi")};
}

} // namespace DpiTables
