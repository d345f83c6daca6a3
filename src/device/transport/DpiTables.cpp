#include "DpiTables.h"

#include <algorithm>
#include <span>

namespace DpiTables {

namespace {

// Plans 6 and 7 when the device profile gives no list.
constexpr DpiRow kDpiPlan67[] = {
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

constexpr DpiRow kDpiPlan4[] = {
    {{1}, {1000, 1200, 1600, 2400}},
    {{2, 4, 5, 6}, {800, 1000, 1300, 1600}},
};

// Plans 0, 1, 2, 3 and 5.
constexpr DpiRow kDpiOther[] = {
    {{1}, {1200, 1600, 1800, 2000, 2400}},    {{2, 4}, {600, 800, 1000, 1300, 1600}}, {{3}, {800, 1200, 1600}},
    {{5}, {800, 1000, 1300, 1600}},           {{6}, {800, 1000, 1200, 1600}},         {{7}, {1200, 2400, 3200}},
    {{8, 9}, {1000, 1200, 1600, 2400, 4000}},
};

std::span<const DpiRow> rowsOf(qint64 chipPlan)
{
    if (chipPlan == 6 || chipPlan == 7)
        return kDpiPlan67;
    if (chipPlan == 4)
        return kDpiPlan4;
    return kDpiOther;
}

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

} // namespace

std::optional<QStringList> stepsFor(qint64 chipPlan, qint64 chipType)
{
    if (chipType <= 0) // 0 marks an unused slot; negative types have no row
        return std::nullopt;
    for (const DpiRow &row : rowsOf(chipPlan)) {
        for (int t : row.chipTypes) {
            if (t == chipType)
                return labels(row.steps);
        }
    }
    return std::nullopt;
}

bool prefersProfileList(qint64 chipPlan)
{
    return chipPlan == 6 || chipPlan == 7;
}

QXUserInfoData::DpiChoice choiceFor(qint64 chipPlan, qint64 chipType)
{
    return {prefersProfileList(chipPlan), stepsFor(chipPlan, chipType)};
}

qint64 rawFromIndex(quint64 icType, qint64 index)
{
    if (icType == 1 && index >= 0 && index < qint64(kChip1Units.size()))
        return kChip1Units[std::size_t(index)];
    return index;
}

qint64 indexFromRaw(quint64 icType, int raw)
{
    if (icType != 1)
        return raw;
    const auto unit = std::find(kChip1Units.begin(), kChip1Units.end(), raw);
    if (unit != kChip1Units.end())
        return unit - kChip1Units.begin();
    return raw >= 0 && raw < int(kChip1Units.size()) ? raw : 0;
}

} // namespace DpiTables
