#include "sqlite/QXVoiceCommandItem.h"

#include <array>

namespace {

constexpr std::array<const char16_t *, 6> kTypeNames = {u"file",      u"folder", u"website",
                                                        u"shortcuts", u"text",   u"phrase"};

using Item = QXVoiceCommandItem;
using Column = SqliteColumn<Item>;

template <std::optional<QString> Item::*member> constexpr Column textColumn(const char *name)
{
    return Column{name, [](const Item &item) { return item.*member; },
                  [](Item &item, const std::optional<QString> &stored) { item.*member = stored; }};
}

const std::array<Column, 6> kColumns = {
    textColumn<&Item::cmdType>("cmdType"),
    textColumn<&Item::customCmd>("customCmd"),
    textColumn<&Item::customName>("customName"),
    textColumn<&Item::cmdWord>("cmdWord"),
    textColumn<&Item::cmdExecute>("cmdExecute"),
    Column{"typeIndex", [](const Item &item) { return std::optional<QString>(QString::number(item.typeIndex())); },
           nullptr},
};

} // namespace

qint64 QXVoiceCommandItem::typeIndex() const
{
    if (!cmdType)
        return 0;
    for (size_t i = 0; i < kTypeNames.size(); ++i) {
        if (*cmdType == QStringView(kTypeNames[i]))
            return qint64(i);
    }
    return 0;
}

void QXVoiceCommandItem::setTypeIndex(qint64 index)
{
    const quint64 unsignedIndex = quint64(index);
    cmdType = unsignedIndex < kTypeNames.size() ? QString::fromUtf16(kTypeNames[unsignedIndex]) : QString(u""_qs);
}

std::span<const SqliteColumn<QXVoiceCommandItem>> QXVoiceCommandItem::sqliteColumns()
{
    return kColumns;
}
