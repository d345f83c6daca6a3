#include "AiPageUrlBuilder.h"

#include "PZString.h"
#include "QXServiceEndpoints.h"
#include "TextNumber.h"

#include <QCryptographicHash>
#include <QStringList>

#include <initializer_list>
#include <utility>

namespace {

constexpr char kSignedPageKey[] = "KDLEMRUTQPZXAVBNCHWGOSIFY";
constexpr char kSignedSnPageKey[] = "b81e4c07d39a52f6";
constexpr char kKey44[] = "Tq7Lp2Vz9Wk4Rb8N";
constexpr char kKey523[] = "Hx3Jd8Qm1Yc6Ue0G";
constexpr char kCustomerId523[] = "6630218479155020847";
constexpr char kDefaultGpts[] = "1,2,3,4,5,6,7,8";

QString md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

// A value in a query: everything but the characters a query keeps as they are, and
// never "&", "=" or "#", which would end the value.
QString encodeValue(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value, "!$'()*+,;:@/?"));
}

// The profile's address as given: its own "#" fragment and "%XX" escapes stay; only
// what no URL may hold (blanks, controls, non-ASCII) is escaped.
QString encodeBase(const QString &base)
{
    static const QByteArray kept("!$&'()*+,;=:@/?#%[]-._~");
    QByteArray out;
    for (const char c : base.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || kept.contains(c))
            out += c;
        else
            out += '%' + QByteArray::number(u, 16).toUpper().rightJustified(2, '0');
    }
    return QString::fromLatin1(out);
}

// base, then "?" (or "&" when the base already has a query), then the pairs with
// their values encoded.
QString withQuery(const QString &base, std::initializer_list<std::pair<const char *, QString>> pairs)
{
    QString url = encodeBase(base);
    QChar sep = url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?');
    for (const auto &[key, value] : pairs) {
        url += sep + QLatin1String(key) + QLatin1Char('=') + encodeValue(value);
        sep = QLatin1Char('&');
    }
    return url;
}

bool isOneOf(qint64 code, std::initializer_list<qint64> codes)
{
    for (qint64 c : codes)
        if (c == code)
            return true;
    return false;
}

QString trackedHomePage(qint64 product, const AiPageInput &in, const AiPageHosts &hosts)
{
    const bool register523 = product == 523;
    const QString key = QLatin1String(register523 ? kKey523 : kKey44);
    QString plain = QStringLiteral("channel_id=0l&device_id=%1&model=%2&pcid=%3&timestamp=%4&token=%5&action=")
                        .arg(in.sno, in.productCode, in.mac, in.timeStamp, hosts.trackingToken);
    plain +=
        register523 ? QStringLiteral("register&customerId=") + QLatin1String(kCustomerId523) : QStringLiteral("click");
    const aiweb::ScrambledQuery q = aiweb::scrambleQuery(plain, key);
    return QStringLiteral("%1/#/home?key=%2&data=%3&cc=%4")
        .arg(hosts.trackedHomePage, register523 ? QStringLiteral("QX") : QStringLiteral("AI"), q.data, q.cc);
}

QString makerPage(const AiPageInput &in, const AiPageHosts &hosts)
{
    const QString language = aiweb::pageLanguageCode(in.uiLanguageCode);
    if (in.isConfigAI)
        return withQuery(in.chatGPTURL, {{"sno", in.sno},
                                         {"config", QStringLiteral("config") + in.productCode},
                                         {"language", language},
                                         {"fallbackLanguage", QStringLiteral("EN_US")},
                                         {"ua", QStringLiteral("IOS")}});
    const QString gpts = in.serviceGPTS.isEmpty() ? QString::fromLatin1(kDefaultGpts) : in.serviceGPTS;
    if (!hosts.secondChatHost.isEmpty() && in.chatGPTURL.contains(hosts.secondChatHost))
        return withQuery(in.chatGPTURL,
                         {{"appkey", in.appKey}, {"ts", in.timeStamp}, {"sno", in.sno}, {"token", in.chipToken}});
    if (language == QLatin1String("ZH_CN"))
        return withQuery(in.chatGPTURL, {{"language", language},
                                         {"xfText", QStringLiteral("由讯飞星火认知大模型技术支持")},
                                         {"sno", in.sno},
                                         {"config", QStringLiteral("config_Zandor")},
                                         {"gpts", gpts},
                                         {"ua", QStringLiteral("IOS")}});
    return withQuery(hosts.makerChatPage, {{"language", language},
                                           {"fallbackLanguage", QStringLiteral("EN_US")},
                                           {"xfText", QStringLiteral("Powered by ChatGPT ")},
                                           {"sno", in.sno},
                                           {"config", QStringLiteral("config_Zandor")},
                                           {"gpts", gpts},
                                           {"ua", QStringLiteral("IOS")}});
}

} // namespace

AiPageHosts AiPageHosts::configured()
{
    // The partners' hosts and the tracking token are fixed for a release; the maker's
    // chat page follows the service configuration like every other maker host.
    AiPageHosts h;
    h.signedKeyPage = QStringLiteral("https://aimouse.idall-partner.com");
    h.timePage = QStringLiteral("https://ai.writer-partner.com");
    h.trackedHomePage = QStringLiteral("https://aiwork.home-partner.com");
    h.workspacePage = QStringLiteral("https://space.workspace-partner.com");
    h.signedSnPage = QStringLiteral("https://aimouse.sn-partner.com");
    h.makerChatPage = qxServiceBase(QXService::AiWeb);
    h.secondChatHost = QStringLiteral("spark.quorvex.com");
    h.trackingToken =
        QStringLiteral("eyJhbGciOiJIUzI1NiIsInR5cCI6IkpXVCJ9."
                       "eyJpc3MiOiJxdW9ydmV4LWNvbXBhbmlvbiIsImF1ZCI6ImFpLXBhcnRuZXIiLCJzdWIiOiJhaW1vdXNlIn0."
                       "c2lnbmF0dXJlLXBsYWNlaG9sZGVyLWZvci10aGUtcGFydG5lcg");
    return h;
}

QUrl AiPage::url() const
{
    if (kind == Kind::Resource)
        return QUrl(QString::fromLatin1(aiweb::kResourcePage));
    return QUrl(text, QUrl::TolerantMode);
}

namespace aiweb {

qint64 productNumber(const QString &productCode)
{
    return qx::leadingInteger(productCode);
}

QString pageLanguageCode(const QString &uiLanguageCode)
{
    return uiLanguageCode.isEmpty() ? QStringLiteral("EN_US") : uiLanguageCode;
}

ScrambledQuery scrambleQuery(const QString &plain, const QString &key)
{
    QString mixed(plain.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < plain.size(); ++i)
        mixed[i] = QChar(char16_t(plain.at(i).unicode() ^ key.at(i % key.size()).unicode()));
    // QByteArray keeps the NUL units an XOR of equal letters gives.
    ScrambledQuery q;
    q.data = QString::fromLatin1(mixed.toUtf8().toBase64());
    q.cc = md5Hex((q.data + key).toUtf8());
    return q;
}

AiPage choosePage(const AiPageInput &in, const AiPageHosts &hosts)
{
    const qint64 product = productNumber(in.productCode);
    AiPage page;
    page.kind = AiPage::Kind::Partner;
    if (product == 216) {
        const QString sign = md5Hex((QLatin1String(kSignedPageKey) + in.sno + in.timeStamp).toUtf8());
        page.text = QStringLiteral("%1/web/#/?mouseDeviceId=%2&sign=%3&time=%4")
                        .arg(hosts.signedKeyPage, in.sno, sign, in.timeStamp);
    } else if (isOneOf(product, {229, 217, 166})) {
        page.text = QStringLiteral("%1/?time=%2").arg(hosts.timePage, in.timeStamp);
    } else if (isOneOf(product, {44, 523})) {
        page.text = trackedHomePage(product, in, hosts);
    } else if (product == 266) {
        page.text = QStringLiteral("%1/workspace?sno=%2&time=%3").arg(hosts.workspacePage, in.sno, in.timeStamp);
    } else if (isOneOf(product, {209, 285})) {
        const QString sign = md5Hex((QLatin1String(kSignedSnPageKey) + in.sno + in.timeStamp).toUtf8());
        page.text =
            QStringLiteral("%1/web/#/?sn=%2&sign=%3&timestamp=%4").arg(hosts.signedSnPage, in.sno, sign, in.timeStamp);
    } else if (!in.chatGPTURL.isEmpty()) {
        page.kind = AiPage::Kind::Maker;
        page.text = makerPage(in, hosts);
    } else if (!in.webURL.isEmpty()) {
        page.kind = AiPage::Kind::ProfileWebPage;
        page.text = withQuery(in.webURL, {{"sno", in.sno},
                                          {"config", QStringLiteral("config_Zandor_WebUrl")},
                                          {"productCode", in.productCode},
                                          {"language", pageLanguageCode(in.uiLanguageCode)},
                                          {"fallbackLanguage", QStringLiteral("EN_US")}});
    } else {
        page.kind = AiPage::Kind::Resource;
    }
    return page;
}

QString englishFallback(const QString &uiLanguageCode, const QString &failedUrl)
{
    if (uiLanguageCode.isEmpty() || uiLanguageCode == QLatin1String("EN_US")
        || uiLanguageCode == QLatin1String("ZH_CN"))
        return {};
    const QString marker = QStringLiteral("language=") + uiLanguageCode;
    if (failedUrl.isEmpty() || !failedUrl.contains(marker))
        return {};
    QString url = failedUrl;
    url.replace(marker, QStringLiteral("language=EN_US"));
    return url;
}

} // namespace aiweb
