#pragma once

#include <QString>
#include <QUrl>

// The addresses of the AI pages, chosen by the connected product. Several partner
// products open their makers' own assistant pages, signed with a time stamp or
// carrying a scrambled tracking query; every other product opens the maker's
// assistant page from the device profile, or, without one, the page shipped in the
// application's resources. Pure: the caller hands every value in.

// Deployment values: where each page lives. configured() reads the maker's fixed chat
// page from the service configuration (QX_AI_WEB_BASE); tests set their own.
struct AiPageHosts {
    QString signedKeyPage;   // "https://host" (no trailing "/"), product 216
    QString timePage;        // products 229, 217, 166
    QString trackedHomePage; // products 44, 523
    QString workspacePage;   // product 266
    QString signedSnPage;    // products 209, 285
    QString makerChatPage;   // the maker's page for languages other than simplified Chinese
    QString secondChatHost;  // a profile address holding this host name gets the app-key form
    QString trackingToken;   // the bearer token of the tracked query

    static AiPageHosts configured();
};

// What the page choice reads of the application state, as text.
struct AiPageInput {
    QString productCode; // integerValue semantics: " 216x" is 216
    QString sno;
    QString timeStamp;      // whole seconds since 1970
    QString mac;            // "AA:BB:CC:DD:EE:FF" or ""
    QString uiLanguageCode; // the interface language as read ("" reads as "EN_US")
    QString chatGPTURL;
    QString webURL;
    QString serviceGPTS;
    bool isConfigAI = false;
    QString appKey;
    QString chipToken;
};

struct AiPage {
    enum class Kind { Partner, Maker, ProfileWebPage, Resource };
    Kind kind = Kind::Resource;
    // The address as text (partner pages exactly as formatted; the maker's and the
    // profile's with their values percent-encoded); empty for the resource page.
    QString text;
    QUrl url() const;
};

namespace aiweb {

inline constexpr char kResourcePage[] = "qrc:/ai/chrome.html";

// The product code's integer as NSString's integerValue reads it.
qint64 productNumber(const QString &productCode);
// The interface language for the pages: the code, or "EN_US" when there is none.
QString pageLanguageCode(const QString &uiLanguageCode);

AiPage choosePage(const AiPageInput &in, const AiPageHosts &hosts);

// The tracked query of products 44 and 523: each UTF-16 unit of `plain` XORed with
// the 16-character key, Base64 of the result's UTF-8 bytes, and md5(data + key).
struct ScrambledQuery {
    QString data;
    QString cc;
};
ScrambledQuery scrambleQuery(const QString &plain, const QString &key);

// The address to reload once in English after a failed load, or "" when there is
// none: not for an empty, English or simplified Chinese interface language, nor for
// an address that does not carry "language=<code>".
QString englishFallback(const QString &uiLanguageCode, const QString &failedUrl);

} // namespace aiweb
