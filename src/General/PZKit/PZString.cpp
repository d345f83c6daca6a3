#include "PZString.h"

#include "PZLog.h"
#include "Scheduler.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QStringDecoder>

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <dlfcn.h>

#include <array>
#include <limits>
#include <memory>

namespace pz {

namespace {

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

bool isCSpace(char16_t u)
{
    return u == ' ' || (u >= '\t' && u <= '\r');
}

// libcrypto is loaded at the first digest or cipher (its headers only at build time):
// most sessions never need one, and an idle process does not carry it.
#define QX_CRYPTO_FUNCTIONS(X)                                                                                         \
    X(EVP_MD_CTX_new)                                                                                                  \
    X(EVP_MD_CTX_free)                                                                                                 \
    X(EVP_DigestInit_ex)                                                                                               \
    X(EVP_DigestUpdate)                                                                                                \
    X(EVP_DigestFinal_ex)                                                                                              \
    X(EVP_md5)                                                                                                         \
    X(EVP_sha256)                                                                                                      \
    X(HMAC)                                                                                                            \
    X(EVP_CIPHER_CTX_new)                                                                                              \
    X(EVP_CIPHER_CTX_free)                                                                                             \
    X(EVP_CIPHER_CTX_set_padding)                                                                                      \
    X(EVP_EncryptInit_ex)                                                                                              \
    X(EVP_EncryptUpdate)                                                                                               \
    X(EVP_EncryptFinal_ex)                                                                                             \
    X(EVP_aes_128_ecb)

struct Crypto {
    bool loaded = false;
#define QX_CRYPTO_MEMBER(f) decltype(&::f) f = nullptr;
    QX_CRYPTO_FUNCTIONS(QX_CRYPTO_MEMBER)
#undef QX_CRYPTO_MEMBER
};

// Loaded once and kept; thread-safe through the static's initialisation. Null
// functions (and a log line) when the library or one of them is missing.
const Crypto &crypto()
{
    static const Crypto loaded = [] {
        Crypto c;
        void *lib = dlopen("libcrypto.so.3", RTLD_NOW | RTLD_LOCAL);
        bool all = lib != nullptr;
#define QX_CRYPTO_RESOLVE(f)                                                                                           \
    c.f = lib ? reinterpret_cast<decltype(c.f)>(dlsym(lib, #f)) : nullptr;                                             \
    all = all && c.f;
        QX_CRYPTO_FUNCTIONS(QX_CRYPTO_RESOLVE)
#undef QX_CRYPTO_RESOLVE
        if (!all)
            qxLogOnce(QStringLiteral("kit:crypto"),
                      QStringLiteral("OpenSSL's libcrypto.so.3 cannot be loaded (%1): digests and ciphers fail")
                          .arg(lib ? QStringLiteral("functions are missing") : QString::fromLocal8Bit(dlerror())));
        c.loaded = all;
        return c;
    }();
    return loaded;
}

struct CipherCtxDeleter {
    void operator()(EVP_CIPHER_CTX *ctx) const { crypto().EVP_CIPHER_CTX_free(ctx); }
};
struct MdCtxDeleter {
    void operator()(EVP_MD_CTX *ctx) const { crypto().EVP_MD_CTX_free(ctx); }
};

QMutex g_macMutex;
std::optional<QString> g_macOverride;

} // namespace

// --- hex text and bytes ---------------------------------------------------------

QString convertDataToHexStr(const QByteArray &data)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    QString out;
    out.reserve(data.size() * 2);
    for (char ch : data) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QLatin1Char(kDigits[b >> 4]));
        out.append(QLatin1Char(kDigits[b & 0x0f]));
    }
    return out;
}

std::optional<QByteArray> convertHexStrToData(const QString &hex)
{
    if (hex.isEmpty())
        return std::nullopt;
    QByteArray out;
    out.reserve(hex.size() / 2 + 1);
    qsizetype pos = 0;
    while (pos < hex.size()) {
        // The first group of an odd-length text is a single digit ("abc" -> 0a bc).
        const qsizetype len = (pos == 0 && hex.size() % 2 == 1) ? 1 : 2;
        qsizetype i = pos;
        const qsizetype end = pos + len;
        while (i < end && isCSpace(hex.at(i).unicode()))
            ++i;
        if (i == end)
            return std::nullopt; // a group of white space only carries no digit
        unsigned value = 0;
        for (; i < end; ++i) {
            const int d = hexDigitValue(hex.at(i));
            if (d < 0)
                return std::nullopt;
            value = value * 16 + unsigned(d);
        }
        out.append(char(value & 0xff));
        pos = end;
    }
    return out;
}

qint64 numberWithHexString(const QString &hex)
{
    const QByteArray utf8 = hex.toUtf8();
    qsizetype i = 0;
    while (i < utf8.size() && isCSpace(char16_t(static_cast<unsigned char>(utf8.at(i)))))
        ++i;
    if (i + 1 < utf8.size() && utf8.at(i) == '0' && (utf8.at(i + 1) == 'x' || utf8.at(i + 1) == 'X'))
        i += 2;
    // Accumulate with saturation like strtoumax, then keep 32 bits like "%x" does.
    quint64 value = 0;
    bool saturated = false;
    for (; i < utf8.size(); ++i) {
        const int d = hexDigitValue(QLatin1Char(utf8.at(i)));
        if (d < 0)
            break;
        if (value > (std::numeric_limits<quint64>::max() >> 4))
            saturated = true;
        value = (value << 4) | quint64(d);
    }
    if (saturated)
        value = std::numeric_limits<quint64>::max();
    return qint64(qint32(quint32(value)));
}

QString ToHex(qint64 value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    quint64 v = quint64(value);
    QString out;
    for (int i = 0; i < 9; ++i) {
        out.prepend(QLatin1Char(kDigits[v % 16]));
        v /= 16;
        if (v == 0)
            break;
    }
    return out;
}

// --- digests and ciphers --------------------------------------------------------

QString qx_md5(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    // The digest has always covered the text as a C string: it ends at the first NUL.
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    const Crypto &c = crypto();
    std::unique_ptr<EVP_MD_CTX, MdCtxDeleter> ctx(c.loaded ? c.EVP_MD_CTX_new() : nullptr);
    if (!ctx || c.EVP_DigestInit_ex(ctx.get(), c.EVP_md5(), nullptr) != 1
        || c.EVP_DigestUpdate(ctx.get(), bytes.constData(), size_t(bytes.size())) != 1
        || c.EVP_DigestFinal_ex(ctx.get(), digest, &len) != 1) {
        qxWarning("kit") << "md5 failed";
        return {};
    }
    return convertDataToHexStr(QByteArray(reinterpret_cast<const char *>(digest), int(len)));
}

QString qx_base64EncodeString(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

std::optional<QString> qx_base64DecodeString(const QString &base64)
{
    const QByteArray ascii = base64.toUtf8();
    if (ascii.size() % 4 != 0)
        return std::nullopt; // standard Base64 is padded to whole quads
    const auto decoded = QByteArray::fromBase64Encoding(ascii, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless); // a cut-off character is an error
    QString text = toUtf16(*decoded);
    if (toUtf16.hasError())
        return std::nullopt;
    return text;
}

QString hmacSHA256WithSecret(const QString &secret, const QString &content)
{
    const QByteArray key = secret.toUtf8();
    const QByteArray message = content.toUtf8();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    const Crypto &c = crypto();
    if (!c.loaded
        || !c.HMAC(c.EVP_sha256(), key.constData(), int(key.size()),
                   reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size()), digest,
                   &len)) {
        qxWarning("kit") << "HMAC-SHA256 failed";
        return {};
    }
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest), int(len)).toBase64());
}

void aes128KeyBytes(const QString &key, std::span<unsigned char, 16> out)
{
    // A longer key is cut rather than spilling past the 16-byte buffer.
    const QByteArray utf8 = key.toUtf8();
    const auto n = std::min<std::size_t>(std::size_t(utf8.size()), out.size());
    std::fill(out.begin(), out.end(), 0);
    std::copy_n(reinterpret_cast<const unsigned char *>(utf8.constData()), n, out.begin());
}

std::optional<QString> AES128ECBEncryptWithKey(const QString &plaintext, const QString &key)
{
    std::array<unsigned char, 16> keyBytes{};
    aes128KeyBytes(key, keyBytes);

    const QByteArray plain = plaintext.toUtf8();
    QByteArray cipher(plain.size() + 16, '\0');
    int outLen = 0;
    int finalLen = 0;
    const Crypto &c = crypto();
    std::unique_ptr<EVP_CIPHER_CTX, CipherCtxDeleter> ctx(c.loaded ? c.EVP_CIPHER_CTX_new() : nullptr);
    auto *out = reinterpret_cast<unsigned char *>(cipher.data());
    if (!ctx || c.EVP_EncryptInit_ex(ctx.get(), c.EVP_aes_128_ecb(), nullptr, keyBytes.data(), nullptr) != 1
        || c.EVP_CIPHER_CTX_set_padding(ctx.get(), 1) != 1
        || c.EVP_EncryptUpdate(ctx.get(), out, &outLen, reinterpret_cast<const unsigned char *>(plain.constData()),
                               int(plain.size()))
               != 1
        || c.EVP_EncryptFinal_ex(ctx.get(), out + outLen, &finalLen) != 1) {
        qxWarning("kit") << "AES-128-ECB encryption failed";
        return std::nullopt;
    }
    cipher.truncate(outLen + finalLen);
    return QString::fromLatin1(cipher.toBase64());
}

// --- JSON -----------------------------------------------------------------------

std::optional<QJsonValue> dictionaryWithJsonString(const QString &json)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || doc.isNull())
        return std::nullopt;
    if (doc.isArray())
        return QJsonValue(doc.array());
    return QJsonValue(doc.object());
}

QString convertToJsonData(const QJsonValue &value)
{
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    // A lone scalar: write it inside an array and take the brackets off.
    QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

// --- time -----------------------------------------------------------------------

QString getTimeStr()
{
    const qint64 secs = Scheduler::instance().clock().secondsSinceEpoch();
    return QString::number(quint64(secs));
}

QString ConvertStrToTime(const QString &secondsText, const QString &dateFormat)
{
    // The leading integer, as the platform reads it: white space, sign, digits, with
    // saturation on overflow.
    qsizetype i = 0;
    while (i < secondsText.size() && isCSpace(secondsText.at(i).unicode()))
        ++i;
    bool negative = false;
    if (i < secondsText.size() && (secondsText.at(i) == u'-' || secondsText.at(i) == u'+'))
        negative = secondsText.at(i++) == u'-';
    qint64 value = 0;
    for (; i < secondsText.size(); ++i) {
        const char16_t u = secondsText.at(i).unicode();
        if (u < '0' || u > '9')
            break;
        const int d = u - '0';
        if (value > (std::numeric_limits<qint64>::max() - d) / 10) {
            value = std::numeric_limits<qint64>::max();
            break;
        }
        value = value * 10 + d;
    }
    if (negative)
        value = -value;
    // QDateTime covers about ±292 million years; beyond that there is nothing to show.
    constexpr qint64 kLimit = qint64(1) << 52;
    value = std::clamp(value, -kLimit, kLimit);
    const QDateTime when = QDateTime::fromSecsSinceEpoch(value, Qt::LocalTime);
    return when.toString(dateFormat);
}

QString secondToStr(qint64 seconds, const std::function<QString(const QString &)> &localize)
{
    const auto unit = [&](const QString &text) { return localize ? localize(text) : text; };
    const qint64 h = seconds / 3600;
    const qint64 m = (seconds - 3600 * h) / 60;
    const qint64 r = seconds - 60 * (seconds / 60);
    const QString hours = unit(QStringLiteral("小时"));
    const QString minutes = unit(QStringLiteral("分"));
    const QString secs = unit(QStringLiteral("秒"));
    if (h >= 1) {
        QString out = QString::number(h) + hours + QString::number(m) + minutes;
        if (r >= 1)
            out += QString::number(r) + secs;
        return out;
    }
    if (m >= 1)
        return r >= 1 ? QString::number(m) + minutes + QString::number(r) + secs : QString::number(m) + minutes;
    return QString::number(r) + secs;
}

// --- other text -----------------------------------------------------------------

QString macAddressFromSysfs(const QString &classNetDir)
{
    const QDir dir(classNetDir);
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    QString fallback;
    for (const QString &name : names) {
        if (name == QLatin1String("lo"))
            continue;
        QFile file(dir.filePath(name + QStringLiteral("/address")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromLatin1(file.read(64)).trimmed().toUpper();
        const QStringList parts = text.split(u':');
        if (parts.size() != 6)
            continue;
        bool valid = true;
        bool nonZero = false;
        for (const QString &p : parts) {
            bool ok = false;
            const int byte = p.toInt(&ok, 16);
            valid = valid && ok && p.size() == 2;
            nonZero = nonZero || byte != 0;
        }
        if (!valid || !nonZero)
            continue;
        if (QFileInfo::exists(dir.filePath(name + QStringLiteral("/device"))))
            return text;
        if (fallback.isEmpty())
            fallback = text;
    }
    return fallback;
}

QString qx_getMacAddress()
{
    {
        QMutexLocker lock(&g_macMutex);
        if (g_macOverride)
            return *g_macOverride;
    }
    const QString address = macAddressFromSysfs(QStringLiteral("/sys/class/net"));
    if (address.isEmpty())
        qxLogOnce(QStringLiteral("kit.mac"), QStringLiteral("no network interface with a hardware address"));
    return address;
}

void setMacAddressOverride(std::optional<QString> address)
{
    QMutexLocker lock(&g_macMutex);
    g_macOverride = std::move(address);
}

std::optional<QString> deleteCharacters(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    static const QString kTrimmed = QStringLiteral(" .@[]{}#%-*+=_\\|~$^'&()\"") + QString(QChar(0xFF0F))
                                    + QChar(0xFF1A) + QChar(0xFF1B) + QChar(0xFF08) + QChar(0xFF09) + QChar(0x00A5)
                                    + QChar(0x300C) + QChar(0x300D) + QChar(0xFF02) + QChar(0x3001) + QChar(0xFF1C)
                                    + QChar(0xFF1E) + QChar(0x20AC) + QChar(0x2022);
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && kTrimmed.contains(text.at(begin)))
        ++begin;
    while (end > begin && kTrimmed.contains(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString urlEncodeStr(const QString &text)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    QString out;
    out.reserve(utf8.size());
    for (char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        const bool keep = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '-'
                          || b == '.' || b == '_' || b == '~' || b < 0x20 || b == 0x7f;
        if (keep) {
            out.append(QLatin1Char(char(b)));
        } else {
            out.append(u'%');
            out.append(QLatin1Char(kDigits[b >> 4]));
            out.append(QLatin1Char(kDigits[b & 0x0f]));
        }
    }
    return out;
}

std::optional<QString> URLDecodedStringWithEncodedStr(const QString &encoded)
{
    const QByteArray utf8 = encoded.toUtf8();
    QByteArray bytes;
    bytes.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8.at(i) != '%') {
            bytes.append(utf8.at(i));
            continue;
        }
        if (i + 2 >= utf8.size())
            return std::nullopt;
        const int hi = hexDigitValue(QLatin1Char(utf8.at(i + 1)));
        const int lo = hexDigitValue(QLatin1Char(utf8.at(i + 2)));
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.append(char(hi * 16 + lo));
        i += 2;
    }
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless); // a cut-off character is an error
    QString text = toUtf16(bytes);
    if (toUtf16.hasError())
        return std::nullopt;
    return text;
}

} // namespace pz
