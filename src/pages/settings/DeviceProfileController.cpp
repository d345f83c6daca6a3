#include "DeviceProfileController.h"

#include "DataPaths.h"
#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "PZDictionary.h"
#include "PZLog.h"
#include "PZString.h"
#include "PagePorts.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "scenes/QXGetCustomerKeyScene.h"
#include "services/IAIWindow.h"
#include "services/IImageLoader.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QPointer>

#include <optional>

namespace {

const QString kLastProductCode = QStringLiteral("kLastProductCode");
const QString kLastSN = QStringLiteral("kLastSN");
const QString kMouseCustomerKey = QStringLiteral("kMouseCustomerKey");

// A file name stays well below the 255 bytes file systems allow.
constexpr qsizetype kMaxFileNameBase = 160;

QString compact(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// A member that is text or a number, as text; nothing for anything else.
std::optional<QString> textMember(const QJsonObject &object, const QString &key)
{
    const QJsonValue v = object.value(key);
    if (!v.isString() && !v.isDouble() && !v.isBool())
        return std::nullopt;
    return pz::stringValue(v, QString());
}

void post(NotificationCenter &center, const char *name)
{
    center.post(QString::fromLatin1(name));
}

// The language codes whose picture is tried, in order.
QStringList imageCodesFor(const QString &uiCode)
{
    if (uiCode == QLatin1String("ZH_CN"))
        return {uiCode};
    if (uiCode == QLatin1String("ZH_TW"))
        return {uiCode, QStringLiteral("ZH_CN")};
    return {uiCode, QStringLiteral("EN_US")};
}

// The first picture record of the first code that has one.
std::optional<QJsonObject> imageRecord(const QJsonArray &images, const QStringList &codes)
{
    for (const QString &code : codes) {
        if (code.isEmpty())
            continue;
        for (const QJsonValue &entry : images) {
            const QJsonValue list = entry.toObject().value(code);
            const QJsonArray records = list.toArray();
            if (list.isArray() && !records.isEmpty() && records.first().isObject())
                return records.first().toObject();
        }
    }
    return std::nullopt;
}

} // namespace

DeviceProfileController::DeviceProfileController(const PageContext &context, std::function<void()> configUI,
                                                 QObject *parent)
    : QObject(parent), m_context(context), m_configUI(std::move(configUI))
{
}

DeviceProfileController::~DeviceProfileController() = default;

QString DeviceProfileController::cacheKey(const QString &productCode, const QString &sn)
{
    return productCode + QLatin1Char('_') + sn;
}

QString DeviceProfileController::productImageFileName(const QString &productCode, const QString &sno)
{
    const QByteArray safe = (productCode + QLatin1Char('_') + sno).toUtf8().toPercentEncoding(QByteArray(), "~");
    QString base = QString::fromLatin1(safe);
    if (base.size() > kMaxFileNameBase) {
        // Different long names stay different files.
        const QByteArray hash = QCryptographicHash::hash(safe, QCryptographicHash::Md5).toHex();
        base = base.left(kMaxFileNameBase) + QLatin1Char('-') + QString::fromLatin1(hash);
    }
    return base + QStringLiteral(".png");
}

QString DeviceProfileController::productImagePath() const
{
    return DataPaths::getFilePath(productImageFileName(m_context.state.productCode(), m_context.state.sno()));
}

void DeviceProfileController::getCustomerKey()
{
    QXUserInfoData &state = m_context.state;
    if (state.isDisableDevice())
        return;
    qxInfo("profile") << "获取按键设置";
    // A fresh request: the product and device come from the state, and no model id is
    // carried over from the profile it replaces (after a key reset that profile is stale).
    auto scene = std::make_shared<QXGetCustomerKeyScene>();
    const QString productCode = scene->productCode;
    const QString sn = scene->sn;
    const QString key = cacheKey(productCode, sn);

    KeyValueStore &store = m_context.store;
    const QString cached = store.stringValue(key);
    if (!cached.isEmpty()) {
        const std::optional<QJsonValue> value = pz::dictionaryWithJsonString(cached);
        if (value && value->isObject()) {
            handleModelInfo(*value, productCode, sn);
            return;
        }
        // Not a profile: dropped, so that the server is asked instead.
        qxInfo("profile") << "cached profile of" << key << "is not an object; asking the server";
        store.remove(key);
        handleModelInfo(value.value_or(QJsonValue()), productCode, sn);
    }
    QPointer<DeviceProfileController> self(this);
    m_context.api.httpRequestWithScene(
        scene, [self, productCode, sn, key](bool success, const QJsonValue &result, const QXNetError &error) {
            if (!self)
                return;
            if (!success) {
                qxInfo("profile") << "profile request failed:" << error.message;
                return;
            }
            self->handleModelInfo(result, productCode, sn);
            if (result.isObject())
                self->m_context.store.setValue(key, compact(result.toObject()));
        });
}

QJsonObject DeviceProfileController::pickProfile(const QJsonValue &infoData, const QString &productCode,
                                                 const QString &sn)
{
    KeyValueStore &store = m_context.store;
    if (infoData.isObject()) {
        const QJsonObject profile = infoData.toObject();
        if (!profile.isEmpty()) {
            store.setValue(kLastProductCode, productCode);
            store.setValue(kLastSN, sn);
            store.setValue(kMouseCustomerKey, compact(profile));
        }
        return profile;
    }
    if (store.stringValue(kLastProductCode) == productCode && store.stringValue(kLastSN) == sn)
        return store.jsonObject(kMouseCustomerKey);
    return {};
}

void DeviceProfileController::handleModelInfo(const QJsonValue &infoData, const QString &productCode, const QString &sn)
{
    qxInfo("profile") << "handleModelInfoWithInfoData:Scene:";
    QXUserInfoData &state = m_context.state;
    const QJsonObject profile = pickProfile(infoData, productCode, sn);

    state.setAppKey(pz::stringValueForKey(profile, QStringLiteral("appkey"), QString()));
    state.setRegion(pz::stringValueForKey(profile, QStringLiteral("region"), QString()));
    state.setSno(pz::stringValueForKey(profile, QStringLiteral("sno"), QString()));

    m_imagesArr = profile.value(QStringLiteral("images")).toArray();
    showProductImage();

    applyLanguages(profile);
    const QString webUrl = applyFunctions(profile);

    state.setMouseDpiArrayWithType(qint64(state.mouseInfoItem().icType()));
    post(m_context.notifications, qx::notify::kUpdateLeftItemNotification);

    applyKeys(profile);
    if (m_configUI)
        m_configUI();

    const QString chatUrl = pz::stringValueForKey(profile, QStringLiteral("chatChromeUrl"), QString());
    const bool setUp = !chatUrl.isEmpty() || !webUrl.isEmpty();
    if (!chatUrl.isEmpty())
        state.setChatGPTURL(chatUrl);
    else if (!webUrl.isEmpty())
        state.setWebURL(webUrl);
    if (setUp)
        m_context.aiWindow.initSubViews();
}

void DeviceProfileController::applyLanguages(const QJsonObject &profile)
{
    QXUserInfoData &state = m_context.state;
    QXLanguageManager &languages = m_context.languages;
    NotificationCenter &center = m_context.notifications;
    const QJsonValue ocr = profile.value(QStringLiteral("xfocr"));
    if (ocr.isObject()) {
        const QJsonObject o = ocr.toObject();
        state.setXunFeiAppId(textMember(o, QStringLiteral("appId")));
        state.setXunFeiAppKey(textMember(o, QStringLiteral("appKey")));
        const QJsonValue list = o.value(QStringLiteral("languages"));
        if (list.isArray()) {
            languages.setScreenshotsTranslateFromLanguageArray(list.toArray());
            post(center, qx::notify::kUpdateOCRListNotification);
        }
    }
    const QJsonValue audio = profile.value(QStringLiteral("languages"));
    if (audio.isArray()) {
        languages.setAudioLanguageArr(audio.toArray());
        post(center, qx::notify::kUpdateInputAudioListNotification);
    }
    const QJsonValue targets = profile.value(QStringLiteral("transLanguages"));
    if (targets.isArray()) {
        languages.setToLanguageArr(targets.toArray());
        post(center, qx::notify::kUpdateTranslateListNotification);
    }
}

// Resets what the profile switches, then applies its "functions" in order. Returns the
// last "WebUrl" address.
QString DeviceProfileController::applyFunctions(const QJsonObject &profile)
{
    QXUserInfoData &state = m_context.state;
    state.setReportRateArr({});
    state.setServiceDpiArr({});
    state.setIsLaser(false);
    state.setIsVoice(false);
    state.setIsIFlytekChip(false);
    state.setIsAmbientLightSwitch(false);
    state.setIsKeyboard(false);
    state.setIsConfigAI(false);
    state.setIsHideDPI(false);
    state.setServiceGPTS(QString());
    state.setWebURL(QString());
    state.setChatGPTURL(QString());

    QString webUrl;
    for (const QJsonValue &entry : profile.value(QStringLiteral("functions")).toArray()) {
        const QJsonObject item = entry.toObject();
        const QJsonValue nameValue = item.value(QStringLiteral("name"));
        const QJsonValue code = item.value(QStringLiteral("code"));
        if (!nameValue.isString() || code.isArray() || code.isObject())
            continue;
        const QString name = nameValue.toString();
        const bool on = pz::boolValue(code, false);
        const QString text = pz::stringValue(code, QString());
        if (name == QLatin1String("Laser")) {
            state.setIsLaser(on);
        } else if (name == QLatin1String("Voice")) {
            state.setIsVoice(on);
        } else if (name == QLatin1String("IFlytekChip")) {
            state.setIsIFlytekChip(on);
            if (state.isIFlytekChip())
                m_context.hidCommands.sendGetXunFeiChipDeviceInfoData();
        } else if (name == QLatin1String("AmbientLightSwitch")) {
            state.setIsAmbientLightSwitch(on);
        } else if (name == QLatin1String("ReportRate")) {
            state.setReportRateArr(text.split(QLatin1Char(',')));
        } else if (name == QLatin1String("DPI")) {
            state.setServiceDpiArr(text.split(QLatin1Char(',')));
        } else if (name == QLatin1String("GPTS")) {
            state.setServiceGPTS(text);
        } else if (name == QLatin1String("IS_PRODUCT_TYPE")) {
            if (text == QLatin1String("keyboard"))
                state.setIsKeyboard(true);
        } else if (name == QLatin1String("ConfigAI")) {
            if (text == QLatin1String("YES"))
                state.setIsConfigAI(true);
        } else if (name == QLatin1String("HideDPI")) {
            if (text == QLatin1String("YES"))
                state.setIsHideDPI(true);
        } else if (name == QLatin1String("WebUrl")) {
            webUrl = text;
        }
    }
    return webUrl;
}

void DeviceProfileController::applyKeys(const QJsonObject &profile)
{
    m_model = MouseModelSettingModel::fromJson(profile);
    m_mouseSettingArr.clear();
    m_mouseSettingArr.append(m_model.keyInfos());
    m_context.state.setMouseSettingArr(m_mouseSettingArr);
    m_context.store.setJson(QString::fromLatin1(kMouseSettingArrKey), MouseSettingModel::listToJson(m_mouseSettingArr));
}

void DeviceProfileController::showProductImage()
{
    qxInfo("profile") << "showProductImage";
    if (m_imagesArr.isEmpty()) {
        ++m_imageLoads;
        m_imageLoad.reset();
        setProductImage(QImage());
        return;
    }
    const std::optional<QJsonObject> record =
        imageRecord(m_imagesArr, imageCodesFor(m_context.languages.readUILanguageCode()));
    if (!record)
        return;
    const QUrl url(record->value(QStringLiteral("img")).toString());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        if (!url.isEmpty())
            qxInfo("profile") << "product image address skipped:" << url.toDisplayString();
        return;
    }
    const quint64 load = ++m_imageLoads;
    // Replacing the load under way abandons it.
    m_imageLoad = m_context.images.loadImage(url, [this, load](bool ok, const QByteArray &body, QString error) {
        if (load != m_imageLoads)
            return;
        QImage image;
        if (ok && !image.loadFromData(body))
            error = QStringLiteral("not a picture");
        const QString path = productImagePath();
        if (image.isNull()) {
            qxInfo("profile") << "product image not loaded:" << error;
            setProductImage(QImage(path));
        } else {
            if (!DataPaths::ensureDir(DataPaths::dataRoot()) || !image.save(path, "PNG"))
                qxWarning("profile") << "product image not saved to" << path;
            setProductImage(image);
        }
        qxInfo("profile") << "showProductImage---显示产品图片";
    });
}

void DeviceProfileController::setProductImage(const QImage &image)
{
    m_productImage = image;
    emit productImageChanged();
}
