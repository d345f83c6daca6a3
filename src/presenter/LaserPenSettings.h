#pragma once

#include <QColor>
#include <QString>

class KeyValueStore;

// The pointer's persisted look and switches, as read at start. Every value is checked
// when it is read: a stored value of the wrong type, out of its range, negative or not
// a number gives the default (an alpha is clamped to 0..1), so a hand-edited or
// corrupt preference file never reaches the overlays. Numbers are kept in single
// precision, as the store has always held them.
struct LaserPenSettings {
    // The preference keys.
    static constexpr char kStatusKey[] = "laserPenStatusKey";
    static constexpr char kHighlightedMaskAlphaKey[] = "highlightedMaskAlphaKey";
    static constexpr char kHighlightedCircleWKey[] = "highlightedCircleWKey";
    static constexpr char kDigitalLightSpotColorKey[] = "digitalLightSpotColorKey";
    static constexpr char kDigitalLightSpotCircleWKey[] = "digitalLightSpotCircleWKey";
    static constexpr char kZoomInPixelKey[] = "zoomInPixelKey";
    static constexpr char kZoomInCircleWKey[] = "zoomInCircleWKey";
    static constexpr char kDrawColorKey[] = "drawColorKey";
    static constexpr char kDrawWidthKey[] = "drawWidthKey";
    static constexpr char kHighlightedSwitchKey[] = "laserPenHighlightedSwitchKey";
    static constexpr char kDigitalLightSpotSwitchKey[] = "laserPenDigitalLightSpotSwitchKey";
    static constexpr char kZoomInSwitchKey[] = "laserPenZoomInSwitchKey";
    static constexpr char kDrawSwitchKey[] = "laserPenDrawSwitchKey";
    static constexpr char kCountdownSwitchKey[] = "laserPenCountdownSwitchKey";
    static constexpr char kPreviewIndexKey[] = "previewIndexKey";
    static constexpr char kWarningTimeIndexKey[] = "warningTimeIndexKey";
    static constexpr char kWarningTimeKey[] = "warningTimeKey";

    double highlightedMaskAlpha = 0.6;
    double highlightedCircleW = 300;
    QColor digitalLightSpotColor = Qt::red;
    double digitalLightSpotCircleW = 20;
    double zoomInPixel = 5;
    double zoomInCircleW = 300;
    QColor drawColor = Qt::red;
    double drawWidth = 10;
    bool highlightedSwitch = true;
    bool digitalLightSpotSwitch = true;
    bool zoomInSwitch = true;
    bool drawSwitch = true;
    bool countdownSwitch = false; // never read back: off at every start
    int previewIndex = -1;
    int warningTimeIndex = 0;
    int warningTime = 0; // minutes

    // Registers the defaults above in the store's read-only layer.
    static void registerDefaults(KeyValueStore &store);
    static LaserPenSettings load(const KeyValueStore &store);

    // Colours are stored as "#AARRGGBB".
    static QString colorText(const QColor &color);
    // The colour of "#AARRGGBB" or "#RRGGBB"; anything else gives nothing (invalid).
    static QColor parseColor(const QString &text);
    // A number as the store keeps it: rounded through single precision.
    static double single(double value) { return double(float(value)); }
};
