#include "LaserPenSettings.h"

#include "KeyValueStore.h"
#include "PZLog.h"

#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

// A number the store holds, or nothing when the value is not one.
std::optional<double> storedNumber(const KeyValueStore &store, const char *name)
{
    // Absent keys read as the exact defaults, not their single-precision values.
    if (!store.contains(key(name)))
        return std::nullopt;
    const QVariant v = store.value(key(name));
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

// A size in points: positive and finite, else the default.
double size(const KeyValueStore &store, const char *name, double def)
{
    const auto d = storedNumber(store, name);
    if (!d || *d <= 0) {
        if (store.contains(key(name)))
            qxWarning("pointer") << "stored" << name << "is not a size; the default" << def << "is used";
        return def;
    }
    return LaserPenSettings::single(*d);
}

int integer(const KeyValueStore &store, const char *name, int def)
{
    const auto d = storedNumber(store, name);
    if (!d || std::abs(*d) > double(std::numeric_limits<int>::max()))
        return def;
    // Read through single precision and truncated, as it was always stored.
    return int(std::trunc(LaserPenSettings::single(*d)));
}

bool flag(const KeyValueStore &store, const char *name, bool def)
{
    const QVariant v = store.value(key(name));
    if (!v.isValid())
        return def;
    return v.toBool();
}

QColor color(const KeyValueStore &store, const char *name)
{
    const QColor c = LaserPenSettings::parseColor(store.value(key(name)).toString());
    if (c.isValid())
        return c;
    if (store.contains(key(name)))
        qxWarning("pointer") << "stored" << name << "is not a colour; red is used";
    return Qt::red;
}

} // namespace

void LaserPenSettings::registerDefaults(KeyValueStore &store)
{
    const LaserPenSettings d;
    store.registerDefaults({
        {key(kHighlightedMaskAlphaKey), d.highlightedMaskAlpha},
        {key(kHighlightedCircleWKey), d.highlightedCircleW},
        {key(kDigitalLightSpotColorKey), colorText(d.digitalLightSpotColor)},
        {key(kDigitalLightSpotCircleWKey), d.digitalLightSpotCircleW},
        {key(kZoomInPixelKey), d.zoomInPixel},
        {key(kZoomInCircleWKey), d.zoomInCircleW},
        {key(kDrawColorKey), colorText(d.drawColor)},
        {key(kDrawWidthKey), d.drawWidth},
        {key(kHighlightedSwitchKey), d.highlightedSwitch},
        {key(kDigitalLightSpotSwitchKey), d.digitalLightSpotSwitch},
        {key(kZoomInSwitchKey), d.zoomInSwitch},
        {key(kDrawSwitchKey), d.drawSwitch},
        {key(kPreviewIndexKey), d.previewIndex},
        {key(kWarningTimeIndexKey), d.warningTimeIndex},
        {key(kWarningTimeKey), d.warningTime},
    });
}

LaserPenSettings LaserPenSettings::load(const KeyValueStore &store)
{
    const LaserPenSettings d;
    LaserPenSettings s;
    const auto alpha = storedNumber(store, kHighlightedMaskAlphaKey);
    s.highlightedMaskAlpha = alpha ? single(std::clamp(*alpha, 0.0, 1.0)) : d.highlightedMaskAlpha;
    s.highlightedCircleW = size(store, kHighlightedCircleWKey, d.highlightedCircleW);
    s.digitalLightSpotColor = color(store, kDigitalLightSpotColorKey);
    s.digitalLightSpotCircleW = size(store, kDigitalLightSpotCircleWKey, d.digitalLightSpotCircleW);
    s.zoomInPixel = size(store, kZoomInPixelKey, d.zoomInPixel);
    s.zoomInCircleW = size(store, kZoomInCircleWKey, d.zoomInCircleW);
    s.drawColor = color(store, kDrawColorKey);
    s.drawWidth = size(store, kDrawWidthKey, d.drawWidth);
    s.highlightedSwitch = flag(store, kHighlightedSwitchKey, d.highlightedSwitch);
    s.digitalLightSpotSwitch = flag(store, kDigitalLightSpotSwitchKey, d.digitalLightSpotSwitch);
    s.zoomInSwitch = flag(store, kZoomInSwitchKey, d.zoomInSwitch);
    s.drawSwitch = flag(store, kDrawSwitchKey, d.drawSwitch);
    s.previewIndex = integer(store, kPreviewIndexKey, d.previewIndex);
    s.warningTimeIndex = integer(store, kWarningTimeIndexKey, d.warningTimeIndex);
    s.warningTime = integer(store, kWarningTimeKey, d.warningTime);
    return s;
}

QString LaserPenSettings::colorText(const QColor &color)
{
    return QLatin1Char('#') + color.name(QColor::HexArgb).mid(1).toUpper();
}

QColor LaserPenSettings::parseColor(const QString &text)
{
    // "#RRGGBB" or "#AARRGGBB". Read by hand: a pattern here would be the one a launch
    // compiles, and would bring the regular-expression engine's pages in with it.
    const auto hexDigit = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    if ((text.size() != 7 && text.size() != 9) || !text.startsWith(u'#')
        || !std::all_of(text.begin() + 1, text.end(), hexDigit))
        return {};
    return QColor::fromString(text);
}
