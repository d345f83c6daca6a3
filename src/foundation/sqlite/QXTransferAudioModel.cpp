#include "sqlite/QXTransferAudioModel.h"

#include <QDateTime>

#include <array>

namespace {

using Model = QXTransferAudioModel;
using Column = SqliteColumn<Model>;

template <std::optional<QString> Model::*member> constexpr Column textColumn(const char *name)
{
    return Column{name, [](const Model &m) { return m.*member; },
                  [](Model &m, const std::optional<QString> &stored) { m.*member = stored; }};
}

const std::array<Column, 5> kColumns = {
    textColumn<&Model::idStr>("idStr"),
    textColumn<&Model::path>("path"),
    textColumn<&Model::updateTime>("updateTime"),
    textColumn<&Model::result>("result"),
    Column{"status", [](const Model &m) { return std::optional<QString>(QString::number(m.status)); },
           [](Model &m, const std::optional<QString> &stored) { m.status = sqliteIntegerFromText(stored); }},
};

} // namespace

// Jobs may be made off the main thread, so the time is read directly rather than
// through the scheduler's clock.
QXTransferAudioModel::QXTransferAudioModel() : idStr(QString::number(QDateTime::currentSecsSinceEpoch())) {}

std::span<const SqliteColumn<QXTransferAudioModel>> QXTransferAudioModel::sqliteColumns()
{
    return kColumns;
}
