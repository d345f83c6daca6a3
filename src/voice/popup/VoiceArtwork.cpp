#include "VoiceArtwork.h"

#include "controls/QXButton.h"
#include "drawing/NamedImage.h"

// Outside any namespace: Q_INIT_RESOURCE names a global function.
static void initVoiceArtworkResource()
{
    Q_INIT_RESOURCE(voice_artwork);
}

void registerVoiceArtwork()
{
    static const bool registered = (initVoiceArtworkResource(), true);
    Q_UNUSED(registered);
}

namespace voiceartwork {

namespace {
QStringList frames(const char *prefix, int count)
{
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("%1_000%2").arg(QLatin1String(prefix)).arg(i, 2, 10, QLatin1Char('0'));
    return names;
}
} // namespace

QStringList typeFrameNames(qint64 pressType)
{
    switch (pressType) {
    case 33:
        return frames("say", 13);
    case 37:
        return frames("trans", 13);
    case 35:
        return frames("search", 13);
    default:
        return {};
    }
}

QStringList startFrameNames()
{
    return frames("start", 39);
}

QList<QPixmap> pixmaps(const QStringList &names)
{
    registerVoiceArtwork();
    QList<QPixmap> out;
    out.reserve(names.size());
    for (const QString &name : names)
        out << namedPixmap(name);
    return out;
}

void showSwitch(QXButton *button, bool on)
{
    registerVoiceArtwork();
    const QString name = on ? QStringLiteral("2_switch_on_icon") : QStringLiteral("2_switch_off_icon");
    const bool blocked = button->blockSignals(true);
    button->setChecked(on);
    button->blockSignals(blocked);
    button->setImage(namedPixmap(name));
    button->setProperty("imageName", name);
}

} // namespace voiceartwork
