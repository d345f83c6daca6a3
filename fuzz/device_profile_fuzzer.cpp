// Arbitrary bytes, read as JSON, applied as the product's device profile over a fresh
// state, language manager and notification centre (a page world), whose picture
// port answers every address the profile names. Nothing may crash,
// the stored key sections must decode to what was applied, and the picture file must
// stay inside the data root.
#include "DataPaths.h"
#include "DeviceProfileController.h"
#include "DpiTables.h"
#include "KeyValueStore.h"
#include "MouseSettingModel.h"
#include "PageWorld.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

QByteArray white()
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QByteArray png;
    QBuffer buffer(&png);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool dpiTables = [] {
        QXUserInfoData::setDpiChoiceLookup(&DpiTables::choiceFor);
        return true;
    }();
    (void)dpiTables;
    // The picture port answers from the event loop (the corpus runner brings its own).
    static int argc = 1;
    static char name[] = "device_profile_fuzzer";
    static char *argv[] = {name, nullptr};
    static const std::unique_ptr<QCoreApplication> app =
        QCoreApplication::instance() ? nullptr : std::make_unique<QCoreApplication>(argc, argv);
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    PageWorld world;
    world.state().setChipPlan(7);
    DeviceProfileController profile(world.context());
    // Every picture address the profile names answers with a picture.
    for (const QJsonValue &entry : doc.object().value(QStringLiteral("images")).toArray())
        for (const QJsonValue &list : entry.toObject())
            for (const QJsonValue &record : list.toArray())
                world.ports.images[QUrl(record.toObject().value(QStringLiteral("img")).toString())] = white();
    const QJsonValue value = doc.isObject() ? QJsonValue(doc.object()) : QJsonValue(doc.array());
    profile.handleModelInfo(value, QStringLiteral("523"), QStringLiteral("S9"));
    QCoreApplication::processEvents();

    const QList<MouseSettingModel> stored =
        MouseSettingModel::listFromJson(world.data.store().jsonArray(QString::fromLatin1(kMouseSettingArrKey)));
    if (!(stored == profile.mouseSettingArr()))
        std::abort();
    if (QFileInfo(profile.productImagePath()).absolutePath() != QFileInfo(DataPaths::dataRoot()).absoluteFilePath())
        std::abort();
    return 0;
}
