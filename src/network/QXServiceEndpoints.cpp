#include "QXServiceEndpoints.h"

#include "KeyValueStore.h"

#include <QUrl>

#include <iterator>

namespace {

struct Endpoint {
    QXService service;
    const char *name;
    const char *env;
    const char *builtIn;
};

// The maker's hosts and the semantic service are deployment values; the outside
// services are their public hosts.
constexpr Endpoint kEndpoints[] = {
    {QXService::MakerApi, "api", "QX_API_BASE", "http://api.quorvex.com/api"},
    {QXService::MakerApi2, "api2", "QX_API2_BASE", "http://api2.quorvex.com/api"},
    {QXService::MakerWeb, "web", "QX_WEB_BASE", "http://www.quorvex.com"},
    {QXService::WeatherCheck, "weather", "QX_WEATHER_BASE", "http://www.weather.com.cn"},
    {QXService::MicrosoftTranslator, "msTranslator", "QX_MS_TRANSLATOR_BASE",
     "https://api.cognitive.microsofttranslator.com"},
    {QXService::BaiduOAuth, "baiduOAuth", "QX_BAIDU_OAUTH_BASE", "https://aip.baidubce.com"},
    {QXService::BaiduShortSpeech, "baiduAsr", "QX_BAIDU_ASR_BASE", "https://vop.baidu.com"},
    {QXService::IFlytekWebApi, "iflytekApi", "QX_IFLYTEK_API_BASE", "https://api.xfyun.cn"},
    {QXService::SemanticAnalysis, "semantic", "QX_SEMANTIC_BASE", "http://semantic.quorvex.com"},
    {QXService::IFlytekOcr, "iflytekOcr", "QX_IFLYTEK_OCR_BASE", "https://webapi.xfyun.cn"},
    {QXService::ChipVendorToken, "chipToken", "QX_CHIP_TOKEN_BASE", "https://auth.iflyos.cn"},
    {QXService::SpeechRecognition, "asr", "QX_ASR_BASE", "ws://asr.quorvex.com"},
};

const Endpoint &endpoint(QXService service)
{
    for (const Endpoint &e : kEndpoints)
        if (e.service == service)
            return e;
    return kEndpoints[0];
}

QString withoutTrailingSlash(QString base)
{
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

QString qxServiceBase(QXService service)
{
    const Endpoint &e = endpoint(service);
    const QString fromEnv = qEnvironmentVariable(e.env).trimmed();
    if (!fromEnv.isEmpty())
        return withoutTrailingSlash(fromEnv);
    const QString stored = defaultStore().stringValue(qxServiceStoreKey(service)).trimmed();
    if (!stored.isEmpty())
        return withoutTrailingSlash(stored);
    return QString::fromLatin1(e.builtIn);
}

QString qxServiceHostName(QXService service)
{
    const QUrl url(qxServiceBase(service));
    if (url.port() > 0)
        return url.host() + QLatin1Char(':') + QString::number(url.port());
    return url.host();
}

const char *qxServiceEnvironmentVariable(QXService service)
{
    return endpoint(service).env;
}

QString qxServiceStoreKey(QXService service)
{
    return QStringLiteral("serviceBase.") + QLatin1String(endpoint(service).name);
}
