#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <functional>
#include <optional>
#include <span>

// Text conversions shared by the device layers, the HTTP client and the pages.
// Every function is stateless and thread-safe (except the MAC-address override,
// which tests set before anything runs).
//
// Device reports and commands travel as lower-case hex text; request signatures
// use MD5 and Base64; the chat body is AES-128-ECB. These outputs are byte-exact
// contracts with the devices and the servers: change nothing without a vector.
namespace pz {

// --- hex text and bytes ---------------------------------------------------------

// Two lower-case hex digits per byte, no separator: {00 0A FF} -> "000aff".
// Empty data gives "" so callers can always append the result.
QString convertDataToHexStr(const QByteArray &data);

// "abc" -> {0A BC}: with an odd length the first group is a single digit, every
// further group two digits (either case; leading white space inside a group is
// skipped). nullopt for empty text or a group that is not hex.
std::optional<QByteArray> convertHexStrToData(const QString &hex);

// Reads like sscanf "%x": leading white space, optional 0x/0X, then hex digits up to
// the first other character, as an unsigned 32-bit value sign-extended to 64 bits.
// "ffffffff" -> -1, "12zz" -> 18, no digits -> 0. Longer digit runs keep the low 32
// bits of the saturated value.
qint64 numberWithHexString(const QString &hex);

// Upper-case hex digits without leading zeros ("0" for zero), at most nine digits:
// a value of 16^9 or more keeps only its lowest nine (16^9 -> "000000000").
// Negative values are read as their 64-bit two's complement.
QString ToHex(qint64 value);

// --- digests and ciphers --------------------------------------------------------

// MD5 of the UTF-8 bytes up to the first NUL: 32 lower-case hex digits.
QString qx_md5(const QString &text);

// Standard Base64 (RFC 4648, "=" padding, no line breaks) of the UTF-8 bytes.
QString qx_base64EncodeString(const QString &text);

// Strict: any character outside the alphabet (white space included) or bytes that
// are not UTF-8 give nullopt.
std::optional<QString> qx_base64DecodeString(const QString &base64);

// Base64 of HMAC-SHA256(key = secret, message = content), both as UTF-8.
QString hmacSHA256WithSecret(const QString &secret, const QString &content);

// Base64 of AES-128-ECB/PKCS#7 over the plaintext's UTF-8 bytes. The key is the
// first 16 bytes of the key's UTF-8 form, zero-padded when shorter.
// nullopt only when the cipher fails.
std::optional<QString> AES128ECBEncryptWithKey(const QString &plaintext, const QString &key);
// The 16 key bytes AES-128 takes from a key text: its UTF-8 bytes, zero-padded, a
// longer key cut to its first 16. Writes exactly the 16 bytes of out.
void aes128KeyBytes(const QString &key, std::span<unsigned char, 16> out);

// --- JSON -----------------------------------------------------------------------

// The top-level value of a JSON text (an object, or an array when the text is one);
// nullopt when the text is not JSON.
std::optional<QJsonValue> dictionaryWithJsonString(const QString &json);

// Compact JSON text of an object or array (a scalar is written as the JSON text of
// that scalar). Spaces inside string values are kept.
QString convertToJsonData(const QJsonValue &value);

// --- time -----------------------------------------------------------------------

// Whole seconds since 1970 (UTC) as unsigned decimal text, from the scheduler's clock.
QString getTimeStr();

// The leading integer of secondsText (white space, optional sign, digits; 0 when
// none) as seconds since 1970, in local time, formatted with a Qt date pattern
// ("yyyy-MM-dd HH:mm:ss"). Digits are always ASCII: device commands carry this text.
QString ConvertStrToTime(const QString &secondsText, const QString &dateFormat);

// A duration with Chinese units: 61 -> "1分1秒", 3600 -> "1小时0分". Each unit text
// ("小时", "分", "秒") goes through localize when one is given (the app passes
// hrvAppLocalizedString).
QString secondToStr(qint64 seconds, const std::function<QString(const QString &)> &localize = {});

// --- other text -----------------------------------------------------------------

// The machine's hardware address as "AA:BB:CC:DD:EE:FF" (upper case), or "" when no
// interface has one. The first interface by name that is physical and has a non-zero
// 6-byte address; failing that, the first non-loopback interface with one. Stable
// across network changes, so requests and speech frames carry the same value.
QString qx_getMacAddress();
// The same rule over a sysfs "class/net" folder (tests point it at a fake tree).
QString macAddressFromSysfs(const QString &classNetDir);
// Tests fix the address; nullopt restores the real lookup.
void setMacAddressOverride(std::optional<QString> address);

// Trims a fixed set of punctuation and symbols (space, "[]{}()#%-*+=_\\|~$^'&\"@."
// and some full-width and currency signs) from both ends, never from the middle.
// nullopt for empty text.
std::optional<QString> deleteCharacters(const QString &text);

// Percent-encodes the UTF-8 bytes of space, every ASCII punctuation mark except
// "-._~" and everything outside ASCII; letters, digits and control characters stay.
QString urlEncodeStr(const QString &text);

// Replaces every %XX escape; nullopt when an escape is malformed or the bytes are
// not UTF-8.
std::optional<QString> URLDecodedStringWithEncodedStr(const QString &encoded);

} // namespace pz
