#include "QXMouseInfoItem.h"

#include "DetachedCopy.h"
#include "KeyValueStore.h"
#include "TextNumber.h"

namespace {

constexpr char kVidKey[] = "QX_Quorvex_Vid_Key";
constexpr char kPidKey[] = "QX_Quorvex_Pid_Key";
constexpr char kMouseSourceKey[] = "QX_Quorvex_MouseSource_Key";
constexpr char kSnKey[] = "QX_Quorvex_Sn_Key";
constexpr char kDpiKey[] = "QX_Quorvex_Dpi_Key";
constexpr char kLedKey[] = "QX_Quorvex_Led_Key";
constexpr char kPowerKey[] = "QX_Quorvex_Power_Key";
constexpr char kPowerPercentKey[] = "QX_Quorvex_PowerPercent_Key";
constexpr char kIcTypeKey[] = "QX_Quorvex_IcType_Key";
constexpr char kDeviceTypeKey[] = "QX_Quorvex_DeviceType_Key";
constexpr char kMouseTypeKey[] = "QX_Quorvex_MouseType_Key";
constexpr char kDongleVersionKey[] = "QX_Quorvex_DongleVersion_Key";
constexpr char kFirmwareVersionKey[] = "QXFirmwareVersionKey";

template <typename T, typename Convert>
std::optional<T> load(const KeyValueStore &store, const char *key, Convert convert)
{
    const QString k = QString::fromLatin1(key);
    const QVariant v = store.value(k);
    if (!v.isValid())
        return std::nullopt;
    return convert(v);
}

std::optional<QString> loadText(const KeyValueStore &store, const char *key)
{
    return load<QString>(store, key, [](const QVariant &v) { return v.toString(); });
}

std::optional<qint64> loadInt(const KeyValueStore &store, const char *key)
{
    return load<qint64>(store, key, [](const QVariant &v) { return v.toLongLong(); });
}

std::optional<quint64> loadUInt(const KeyValueStore &store, const char *key)
{
    return load<quint64>(store, key, [](const QVariant &v) { return v.toULongLong(); });
}

std::optional<double> loadDouble(const KeyValueStore &store, const char *key)
{
    return load<double>(store, key, [](const QVariant &v) { return v.toDouble(); });
}

std::optional<quint16> loadUShort(const KeyValueStore &store, const char *key)
{
    // Stored as a plain number; the id is its low 16 bits.
    return load<quint16>(store, key, [](const QVariant &v) { return quint16(v.toLongLong() & 0xFFFF); });
}

} // namespace

QXMouseInfoItem::QXMouseInfoItem(KeyValueStore &store) : m_store(store)
{
    m_storedVid = loadUShort(store, kVidKey);
    m_storedPid = loadUShort(store, kPidKey);
    m_storedSn = loadText(store, kSnKey);
    m_storedDpi = loadInt(store, kDpiKey);
    m_storedLed = loadInt(store, kLedKey);
    m_storedPower = loadDouble(store, kPowerKey);
    m_storedPowerPercent = loadDouble(store, kPowerPercentKey);
    m_storedIcType = loadUInt(store, kIcTypeKey);
    m_storedMouseType = loadUInt(store, kMouseTypeKey);
    m_storedFirmwareVersion = loadText(store, kFirmwareVersionKey);
    setDongleVersion(QString());
}

void QXMouseInfoItem::store(const char *key, const QVariant &value)
{
    m_store.setValue(QString::fromLatin1(key), value);
}

quint16 QXMouseInfoItem::vid() const
{
    std::lock_guard lock(m_mutex);
    return m_storedVid.value_or(0);
}

void QXMouseInfoItem::setVid(quint16 vid)
{
    std::lock_guard lock(m_mutex);
    m_storedVid = vid;
    store(kVidKey, int(vid));
}

quint16 QXMouseInfoItem::pid() const
{
    std::lock_guard lock(m_mutex);
    return m_storedPid.value_or(0);
}

void QXMouseInfoItem::setPid(quint16 pid)
{
    std::lock_guard lock(m_mutex);
    m_storedPid = pid;
    store(kPidKey, int(pid));
}

quint64 QXMouseInfoItem::mouseSource() const
{
    std::lock_guard lock(m_mutex);
    return m_mouseSource;
}

void QXMouseInfoItem::setMouseSource(quint64 source)
{
    std::lock_guard lock(m_mutex);
    m_mouseSource = source;
    store(kMouseSourceKey, qint64(source));
}

QString QXMouseInfoItem::sn() const
{
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(m_storedSn.value_or(QString()));
}

void QXMouseInfoItem::setSn(const std::optional<QString> &sn)
{
    std::lock_guard lock(m_mutex);
    m_storedSn = sn;
    store(kSnKey, sn ? QVariant(*sn) : QVariant());
}

qint64 QXMouseInfoItem::dpi() const
{
    std::lock_guard lock(m_mutex);
    return m_dpi > 0 ? m_dpi : m_storedDpi.value_or(0);
}

void QXMouseInfoItem::setDpi(qint64 dpi)
{
    std::lock_guard lock(m_mutex);
    m_dpi = dpi;
    m_storedDpi = dpi;
    store(kDpiKey, dpi);
}

qint64 QXMouseInfoItem::led() const
{
    std::lock_guard lock(m_mutex);
    return m_storedLed.value_or(0);
}

void QXMouseInfoItem::setLed(qint64 led)
{
    std::lock_guard lock(m_mutex);
    m_storedLed = led;
    store(kLedKey, led);
}

double QXMouseInfoItem::power() const
{
    std::lock_guard lock(m_mutex);
    return m_storedPower.value_or(0.0);
}

void QXMouseInfoItem::setPower(double power)
{
    std::lock_guard lock(m_mutex);
    m_storedPower = power;
    store(kPowerKey, power);
}

double QXMouseInfoItem::powerPercent() const
{
    std::lock_guard lock(m_mutex);
    return m_storedPowerPercent.value_or(0.0);
}

void QXMouseInfoItem::setPowerPercent(double percent)
{
    std::lock_guard lock(m_mutex);
    m_storedPowerPercent = percent;
    store(kPowerPercentKey, percent);
}

quint64 QXMouseInfoItem::icType() const
{
    std::lock_guard lock(m_mutex);
    return m_icType != 0 ? m_icType : m_storedIcType.value_or(1);
}

void QXMouseInfoItem::setIcType(quint64 type)
{
    std::lock_guard lock(m_mutex);
    if (type == m_icType)
        return;
    m_icType = type;
    m_storedIcType = type;
    store(kIcTypeKey, qint64(type));
}

quint64 QXMouseInfoItem::deviceType() const
{
    std::lock_guard lock(m_mutex);
    return m_deviceType == 0 ? 1 : m_deviceType;
}

void QXMouseInfoItem::setDeviceType(quint64 type)
{
    std::lock_guard lock(m_mutex);
    m_deviceType = type;
}

void QXMouseInfoItem::setdeviceType(quint64 type)
{
    std::lock_guard lock(m_mutex);
    if (type == m_deviceType)
        return;
    m_deviceType = type;
    store(kDeviceTypeKey, qint64(type));
}

quint64 QXMouseInfoItem::mouseType() const
{
    std::lock_guard lock(m_mutex);
    return m_mouseType != 0 ? m_mouseType : m_storedMouseType.value_or(0);
}

void QXMouseInfoItem::setMouseType(quint64 type)
{
    std::lock_guard lock(m_mutex);
    if (type == m_mouseType)
        return;
    m_mouseType = type;
    m_storedMouseType = type;
    store(kMouseTypeKey, qint64(type));
}

QString QXMouseInfoItem::dongleVersion() const
{
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(m_storedDongleVersion.value_or(QString()));
}

void QXMouseInfoItem::setDongleVersion(const std::optional<QString> &version)
{
    std::lock_guard lock(m_mutex);
    // A null QString would read back as "absent" from some backends; keep "" as "".
    m_storedDongleVersion =
        version ? std::optional<QString>(version->isNull() ? QStringLiteral("") : *version) : std::nullopt;
    store(kDongleVersionKey, m_storedDongleVersion ? QVariant(*m_storedDongleVersion) : QVariant());
}

QString QXMouseInfoItem::firmwareVersion() const
{
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(m_storedFirmwareVersion.value_or(QString()));
}

qint64 QXMouseInfoItem::firmwareNumber() const
{
    return qx::leadingInteger(firmwareVersion());
}

void QXMouseInfoItem::setFirmwareVersion(const std::optional<QString> &version)
{
    std::lock_guard lock(m_mutex);
    const QString text = version && !version->isNull() ? *version : QStringLiteral("");
    m_storedFirmwareVersion = text;
    store(kFirmwareVersionKey, text);
}

#define QX_HELD_FIELD(Type, getter, setter, member)                                                                    \
    Type QXMouseInfoItem::getter() const                                                                               \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        return member;                                                                                                 \
    }                                                                                                                  \
    void QXMouseInfoItem::setter(Type value)                                                                           \
    {                                                                                                                  \
        std::lock_guard lock(m_mutex);                                                                                 \
        member = value;                                                                                                \
    }

QX_HELD_FIELD(qint64, mic, setMic, m_mic)
QX_HELD_FIELD(qint64, lightingEffectsMode, setLightingEffectsMode, m_lightingEffectsMode)
QX_HELD_FIELD(qint64, lightingEffectsBrightness, setLightingEffectsBrightness, m_lightingEffectsBrightness)
QX_HELD_FIELD(qint64, lightingEffectsSpeed, setLightingEffectsSpeed, m_lightingEffectsSpeed)
QX_HELD_FIELD(qint64, lightingEffectsColor, setLightingEffectsColor, m_lightingEffectsColor)
QX_HELD_FIELD(qint64, mouseLeftOrRightHandBehavior, setMouseLeftOrRightHandBehavior, m_mouseLeftOrRightHandBehavior)
#undef QX_HELD_FIELD

QString QXMouseInfoItem::macAddress() const
{
    std::lock_guard lock(m_mutex);
    return qx::detachedCopy(m_macAddress);
}

void QXMouseInfoItem::setMacAddress(const QString &address)
{
    std::lock_guard lock(m_mutex);
    m_macAddress = address;
}
