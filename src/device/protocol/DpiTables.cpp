#include "DpiTables.h"

#include "FamilyTraits.h"

#include <span>

namespace {

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

namespace DpiTables {

std::optional<QStringList> stepsFor(qint64 chipPlan, qint64 chipType)
{
    if (chipType <= 0) // 0 marks an unused slot; negative types have no row
        return std::nullopt;
    for (const proto::DpiRow &row : proto::familyTraits(chipPlan).dpi) {
        for (int t : row.chipTypes) {
            if (t == chipType)
                return labels(row.steps);
        }
    }
    return std::nullopt;
}

QXUserInfoData::DpiChoice choiceFor(qint64 chipPlan, qint64 chipType)
{
    return {proto::familyTraits(chipPlan).has(proto::kProfileDpiList), stepsFor(chipPlan, chipType)};
}

} // namespace DpiTables
