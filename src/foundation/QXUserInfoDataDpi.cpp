// QXUserInfoData: the DPI list, chosen through the installed DPI tables.
#include "QXUserInfoDataValues.h"

#include "PZLog.h"

#include <atomic>

using namespace userinfo;

std::optional<QStringList> QXUserInfoData::dpiArray() const
{
    std::lock_guard lock(m_mutex);
    return v->dpiArray ? std::optional<QStringList>(qx::detachedCopy(*v->dpiArray)) : std::nullopt;
}

namespace {
std::atomic<QXUserInfoData::DpiChoiceLookup> g_dpiChoiceLookup{nullptr};
} // namespace

QXUserInfoData::DpiChoiceLookup QXUserInfoData::setDpiChoiceLookup(DpiChoiceLookup lookup)
{
    return g_dpiChoiceLookup.exchange(lookup);
}

QXUserInfoData::DpiChoiceLookup QXUserInfoData::dpiChoiceLookup()
{
    return g_dpiChoiceLookup.load();
}

void QXUserInfoData::setMouseDpiArrayWithType(qint64 chipType)
{
    const DpiChoiceLookup lookup = g_dpiChoiceLookup.load();
    std::lock_guard lock(m_mutex);
    if (!lookup) {
        qxLogOnce(QStringLiteral("state.dpi"), QStringLiteral("no DPI tables installed; the DPI list stays"));
        return;
    }
    DpiChoice choice = lookup(v->chipPlan, chipType);
    if (choice.prefersProfileList && !v->serviceDpiArr.isEmpty()) {
        v->dpiArray = v->serviceDpiArr;
        return;
    }
    if (choice.steps)
        v->dpiArray = std::move(*choice.steps);
}

QStringList QXUserInfoData::getMouseDpiArray() const
{
    std::lock_guard lock(m_mutex);
    // The list shown before any device was seen.
    return v->dpiArray ? qx::detachedCopy(*v->dpiArray)
                       : QStringList{QStringLiteral("800dpi"), QStringLiteral("1000dpi"), QStringLiteral("1200dpi"),
                                     QStringLiteral("1600dpi")};
}
