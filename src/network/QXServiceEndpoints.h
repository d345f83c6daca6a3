#pragma once

#include <QString>

// The bases (scheme, host, port and path prefix) of every server the scenes talk
// to. Each is read, in this order, from its environment variable, from the
// preference store's "serviceBase.<name>" entry, or from the built-in value, so a
// test or a staging set-up points the client elsewhere without a rebuild.
enum class QXService {
    MakerApi,            // QX_API_BASE
    MakerApi2,           // QX_API2_BASE
    MakerWeb,            // QX_WEB_BASE: the maker's web site (updates, agreements)
    WeatherCheck,        // QX_WEATHER_BASE
    MicrosoftTranslator, // QX_MS_TRANSLATOR_BASE
    BaiduOAuth,          // QX_BAIDU_OAUTH_BASE
    BaiduShortSpeech,    // QX_BAIDU_ASR_BASE
    IFlytekWebApi,       // QX_IFLYTEK_API_BASE
    SemanticAnalysis,    // QX_SEMANTIC_BASE
    IFlytekOcr,          // QX_IFLYTEK_OCR_BASE
    ChipVendorToken,     // QX_CHIP_TOKEN_BASE
    SpeechRecognition,   // QX_ASR_BASE: the websocket speech service, "ws://host[:port]"
};

// The base without a trailing "/".
QString qxServiceBase(QXService service);

// "host" or "host:port" of the base (for services that want a Host header).
QString qxServiceHostName(QXService service);

// The names used in the environment and the preference store, for diagnostics.
const char *qxServiceEnvironmentVariable(QXService service);
QString qxServiceStoreKey(QXService service);
