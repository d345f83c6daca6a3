#pragma once

#include <QString>

#include <mutex>
#include <optional>

class KeyValueStore;

// The state of the connected mouse or receiver. One instance lives in the application
// state for the whole run; a newly connected device overwrites the fields, nothing
// clears them.
//
// The identity, battery and version fields are persisted so that the last device
// survives a restart; their getters answer from the stored values. The item mirrors
// its keys in memory (loaded at creation, updated by its own setters), so reads never
// touch the store and are safe from any thread; writers run on the main thread.
class QXMouseInfoItem {
public:
    // Creating the item clears the stored receiver version: a receiver reports it
    // afresh every time it is opened.
    explicit QXMouseInfoItem(KeyValueStore &store);
    QXMouseInfoItem(const QXMouseInfoItem &) = delete;
    QXMouseInfoItem &operator=(const QXMouseInfoItem &) = delete;

    // USB vendor and product id (stored, always written).
    quint16 vid() const;
    void setVid(quint16 vid);
    quint16 pid() const;
    void setPid(quint16 pid);

    // Origin of the receiver: 0 domestic, 1 international, 2 Asia-Pacific. Written to
    // the store but read from memory only, so it starts at 0 on every launch.
    quint64 mouseSource() const;
    void setMouseSource(quint64 source);

    // Serial number; "" when none is stored. nullopt removes the stored one.
    QString sn() const;
    void setSn(const std::optional<QString> &sn);

    // Zero-based index into the DPI list (not a DPI number). Written on every call.
    qint64 dpi() const;
    void setDpi(qint64 dpi);

    qint64 led() const;
    void setLed(qint64 led);
    double power() const;
    void setPower(double power);
    double powerPercent() const;
    void setPowerPercent(double percent);

    // Sensor chip type, the row of the DPI tables; 1 when nothing is known.
    quint64 icType() const;
    void setIcType(quint64 type); // writes only when the value changes

    // Device type code; 0 reads as 1 (ordinary mouse receiver). Held in memory only.
    quint64 deviceType() const;
    void setDeviceType(quint64 type);
    // Stores the type under its key when it changes; no getter reads that key back.
    void setdeviceType(quint64 type);

    // Model code of the mouse; its decimal text is the fallback product code.
    quint64 mouseType() const;
    void setMouseType(quint64 type); // writes only when the value changes

    // Receiver firmware version; "" when none. nullopt removes the stored one.
    QString dongleVersion() const;
    void setDongleVersion(const std::optional<QString> &version);
    // Mouse firmware version; nullopt is stored as "".
    QString firmwareVersion() const;
    void setFirmwareVersion(const std::optional<QString> &version);
    // The firmware version's leading integer (qx::leadingInteger), which gates firmware
    // features and picks voice layouts; 0 when the text has none.
    qint64 firmwareNumber() const;

    // Decoded by the report parsers, not persisted.
    qint64 mic() const;
    void setMic(qint64 mic);
    qint64 lightingEffectsMode() const;
    void setLightingEffectsMode(qint64 mode);
    qint64 lightingEffectsBrightness() const;
    void setLightingEffectsBrightness(qint64 brightness);
    qint64 lightingEffectsSpeed() const;
    void setLightingEffectsSpeed(qint64 speed);
    qint64 lightingEffectsColor() const;
    void setLightingEffectsColor(qint64 color);
    qint64 mouseLeftOrRightHandBehavior() const;
    void setMouseLeftOrRightHandBehavior(qint64 behavior);
    QString macAddress() const;
    void setMacAddress(const QString &address);

private:
    void store(const char *key, const QVariant &value);

    KeyValueStore &m_store;
    mutable std::mutex m_mutex;

    // Mirrors of the stored values (nullopt: key absent).
    std::optional<quint16> m_storedVid, m_storedPid;
    std::optional<QString> m_storedSn, m_storedDongleVersion, m_storedFirmwareVersion;
    std::optional<qint64> m_storedDpi, m_storedLed;
    std::optional<double> m_storedPower, m_storedPowerPercent;
    std::optional<quint64> m_storedIcType, m_storedMouseType;

    // Values held by this run.
    quint64 m_mouseSource = 0;
    qint64 m_dpi = 0;
    quint64 m_icType = 0;
    quint64 m_deviceType = 0;
    quint64 m_mouseType = 0;
    qint64 m_mic = 0;
    qint64 m_lightingEffectsMode = 0;
    qint64 m_lightingEffectsBrightness = 0;
    qint64 m_lightingEffectsSpeed = 0;
    qint64 m_lightingEffectsColor = 0;
    qint64 m_mouseLeftOrRightHandBehavior = 0;
    QString m_macAddress;
};
