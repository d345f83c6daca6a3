#include "QXOTAUpdateManager.h"

#include "DataPaths.h"
#include "HRVLocalizedString.h"
#include "HookStates.h"
#include "InstalledInstance.h"
#include "KeyValueStore.h"
#include "MainThread.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "OTAVersionText.h"
#include "PZLog.h"
#include "QXFileDownload.h"
#include "QXHttpRequestManager.h"
#include "QXServiceEndpoints.h"
#include "QXUserInfoData.h"
#include "platform/PlatformServices.h"
#include "scenes/QXOTAUpdateScene.h"
#include "services/AlertPresenter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonValue>
#include <QPointer>
#include <QUrl>

#include <utility>

namespace {

constexpr char kMouseKeyFormat[] = "kOTAFilePathKey_%1";
constexpr char kDongleKeyFormat[] = "kOTAFilePathDongleKey_%1";
// The application word in the web site's paths.
constexpr char kAppWord[] = "Zandor";
// A version text is a few bytes; anything longer is not one.
constexpr qint64 kMaxVersionTextBytes = 4096;

QString keyFor(bool dongle, const QString &productCode)
{
    return QString::fromLatin1(dongle ? kDongleKeyFormat : kMouseKeyFormat).arg(productCode);
}

QString lastComponent(const QString &s)
{
    return s.mid(s.lastIndexOf(QLatin1Char('/')) + 1);
}

// The product code becomes part of a file name.
QString fileNamePrefix(QString productCode)
{
    productCode.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return productCode + QLatin1Char('_');
}

bool isDownloadAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
           && !url.host().isEmpty();
}

} // namespace

QXOTAUpdateManager &QXOTAUpdateManager::sharedInstance()
{
    return InstalledInstance<QXOTAUpdateManager>::get("QXOTAUpdateManager");
}

QXOTAUpdateManager *QXOTAUpdateManager::setSharedInstance(QXOTAUpdateManager *instance)
{
    return InstalledInstance<QXOTAUpdateManager>::install(instance);
}

QXOTAUpdateManager::QXOTAUpdateManager(Deps deps, QObject *parent) : QObject(parent), m_deps(std::move(deps))
{
    if (!m_deps.appVersion)
        m_deps.appVersion = [] { return QCoreApplication::applicationVersion(); };
    if (!m_deps.localize)
        m_deps.localize = [](const QString &key) { return hrvAppLocalizedString(key); };
}

QXOTAUpdateManager::QXOTAUpdateManager() : QXOTAUpdateManager(Deps{}) {}

void QXOTAUpdateManager::listHooks(HookStates &out) const
{
    static_assert(sizeof(Deps) == 5 * sizeof(void *) + 2 * sizeof(std::function<void()>),
                  "a new member is listed here too");
    out.in(QStringLiteral("QXOTAUpdateManager"))
        .add("deps.store", m_deps.store)
        .add("deps.state", m_deps.state)
        .add("deps.alerts", m_deps.alerts)
        .add("deps.workspace", m_deps.workspace)
        .add("deps.network", m_deps.network)
        .add("deps.appVersion", m_deps.appVersion)
        .add("deps.localize", m_deps.localize);
}

QXOTAUpdateManager::~QXOTAUpdateManager() = default;

KeyValueStore &QXOTAUpdateManager::store() const
{
    return m_deps.store ? *m_deps.store : defaultStore();
}

QXUserInfoData &QXOTAUpdateManager::state() const
{
    return m_deps.state ? *m_deps.state : QXUserInfoData::sharedInstance();
}

AlertPresenter &QXOTAUpdateManager::alerts() const
{
    // Without a window to ask on, the question goes away unanswered.
    struct NoAlerts final : AlertPresenter {
        void showAlert(const QString &message, const QStringList &, std::function<void(int)> done) override
        {
            qxLogOnce(QStringLiteral("ota.no-alerts"),
                      QStringLiteral("[ota] no alert window; not asked: %1").arg(message));
            postToMainThread([done = std::move(done)] {
                if (done)
                    done(-1);
            });
        }
    };
    static NoAlerts none;
    return m_deps.alerts ? *m_deps.alerts : none;
}

platform::IWorkspace &QXOTAUpdateManager::workspace() const
{
    return m_deps.workspace ? *m_deps.workspace : *platform::services().workspace;
}

QString QXOTAUpdateManager::firmwareFolder()
{
    return DataPaths::dataRoot();
}

QString QXOTAUpdateManager::webBase()
{
    return qxServiceBase(QXService::MakerWeb);
}

QString QXOTAUpdateManager::appVersionFileUrl()
{
    return webBase() + QStringLiteral("/%1/update_mac.txt").arg(QLatin1String(kAppWord));
}

QString QXOTAUpdateManager::appDownloadPageUrl()
{
    // The download page is served over https on the same host.
    QUrl url(webBase());
    url.setScheme(QStringLiteral("https"));
    url.setPath(QStringLiteral("/%1/").arg(QLatin1String(kAppWord)));
    return url.toString();
}

// --- firmware ---------------------------------------------------------------------

void QXOTAUpdateManager::checkOTAInfo()
{
    check(Target::Mouse);
}

void QXOTAUpdateManager::checkDongleOTAInfo()
{
    check(Target::Dongle);
}

void QXOTAUpdateManager::check(Target target)
{
    const bool dongle = target == Target::Dongle;
    auto scene = std::make_shared<QXOTAUpdateScene>();
    scene->type = dongle ? QStringLiteral("USB") : QStringLiteral("MOUSE");
    scene->num = dongle ? state().mouseInfoItem().dongleVersion()
                        : proto::otaNumberForFirmwareVersion(state().mouseInfoItem().firmwareVersion());
    scene->productCode = state().productCode();

    QPointer<QXOTAUpdateManager> self(this);
    QXHttpRequestManager::sharedInstance().httpRequestWithScene(
        scene, [self, target, dongle](bool ok, const QJsonValue &result, const QXNetError &error) {
            if (!self)
                return;
            if (!ok) {
                qxInfo("ota") << (dongle ? "receiver" : "mouse") << "firmware check failed:" << error.message;
                return;
            }
            if (!result.isObject()) {
                qxWarning("ota") << (dongle ? "receiver" : "mouse") << "firmware check: the answer holds no record";
                return;
            }
            const QXOTAModel model = QXOTAModel::fromJson(result.toObject());
            (dongle ? self->m_otaDongleModel : self->m_otaModel) = model;
            if (model.downloadUrl.isEmpty())
                return;

            const QString prefix = self->state().productCode() + QLatin1Char('_');
            const QString storedName = lastComponent(self->storedPath(target)).remove(prefix);
            const QString remoteName = lastComponent(model.downloadUrl);
            if (!storedName.isEmpty() && storedName == remoteName && self->fileExists(target))
                return; // already downloaded
            self->download(target, model.downloadUrl);
        });
}

QString QXOTAUpdateManager::storedPath(Target target)
{
    const bool dongle = target == Target::Dongle;
    const QString path = store().stringValue(keyFor(dongle, state().productCode()));
    (dongle ? m_filePathDongle : m_filePath) = path;
    return path;
}

QString QXOTAUpdateManager::filePath()
{
    return storedPath(Target::Mouse);
}

QString QXOTAUpdateManager::filePathDongle()
{
    return storedPath(Target::Dongle);
}

bool QXOTAUpdateManager::fileExists(Target target)
{
    const QString path = storedPath(target);
    const bool exists = !path.isEmpty() && QFileInfo(path).isFile();
    (target == Target::Dongle ? m_needUpdateDongle : m_needUpdate) = exists;
    return exists;
}

bool QXOTAUpdateManager::needUpdate()
{
    return fileExists(Target::Mouse);
}

bool QXOTAUpdateManager::needUpdateDongle()
{
    return fileExists(Target::Dongle);
}

void QXOTAUpdateManager::deleteFile(Target target)
{
    const QString path = storedPath(target);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    if (!QFile::remove(path)) {
        qxWarning("ota") << "cannot remove the firmware image" << path;
        return;
    }
    store().setValue(keyFor(target == Target::Dongle, state().productCode()), QString());
    store().sync();
    (target == Target::Dongle ? m_filePathDongle : m_filePath).clear();
}

void QXOTAUpdateManager::deleteOTAFile()
{
    deleteFile(Target::Mouse);
}

void QXOTAUpdateManager::deleteDongleOTAFile()
{
    deleteFile(Target::Dongle);
}

void QXOTAUpdateManager::downLoadFileFromUrl(const QString &url)
{
    download(Target::Mouse, url);
}

void QXOTAUpdateManager::downLoadDongleFileFromUrl(const QString &url)
{
    download(Target::Dongle, url);
}

void QXOTAUpdateManager::download(Target target, const QString &address)
{
    if (address.isEmpty())
        return;
    const QUrl url(address);
    if (!isDownloadAddress(url)) {
        qxWarning("ota") << "not a download address:" << address;
        return;
    }
    const QString productCode = state().productCode();
    const QString prefix = fileNamePrefix(productCode);
    QPointer<QXOTAUpdateManager> self(this);
    QXFileDownload::start(
        url, firmwareFolder(),
        [prefix](const QString &suggested) { return suggested.isEmpty() ? QString() : prefix + suggested; },
        [self, target, productCode](const QXDownloadResult &result) {
            if (self)
                self->onFirmwareDownloaded(target, productCode, result);
            else
                postNotification(QLatin1String(qx::notify::kUpdateOTAStatusNotification));
        },
        m_deps.network);
}

void QXOTAUpdateManager::onFirmwareDownloaded(Target target, const QString &productCode, const QXDownloadResult &result)
{
    const bool dongle = target == Target::Dongle;
    if (result.ok) {
        store().setValue(keyFor(dongle, productCode), result.filePath);
        store().sync();
        if (productCode == state().productCode())
            (dongle ? m_filePathDongle : m_filePath) = result.filePath;
        if (dongle)
            state().mouseInfoItem().setDongleVersion(m_otaDongleModel.num);
        qxInfo("ota") << (dongle ? "receiver" : "mouse") << "firmware image saved:" << result.filePath;
    }
    postNotification(QLatin1String(qx::notify::kUpdateOTAStatusNotification));
}

// --- application ------------------------------------------------------------------

void QXOTAUpdateManager::checkAppVersion()
{
    // Saved under the address's own name whatever the answer suggests: a suggested
    // name could otherwise replace any file of the data root (the database, say).
    const QUrl url(appVersionFileUrl());
    const QString name = lastComponent(url.path());
    QPointer<QXOTAUpdateManager> self(this);
    QXFileDownload::start(
        url, firmwareFolder(), [name](const QString &) { return name; },
        [self](const QXDownloadResult &result) {
            if (self)
                self->onVersionFileDownloaded(result);
        },
        m_deps.network);
}

void QXOTAUpdateManager::onVersionFileDownloaded(const QXDownloadResult &result)
{
    if (!result.ok)
        return;
    QFile file(result.filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        qxInfo("ota") << "cannot read the version text" << result.filePath;
        return;
    }
    const QString published = QString::fromUtf8(file.read(kMaxVersionTextBytes));
    if (published.isEmpty())
        return;
    if (proto::naturalCompareCi(published, m_deps.appVersion()) > 0)
        showAppUpdateAlertView();
}

void QXOTAUpdateManager::showAppUpdateAlertView()
{
    const QString message = m_deps.localize(QStringLiteral("检测到有新版本，是否升级？"));
    const QStringList buttons{m_deps.localize(QStringLiteral("取消")), m_deps.localize(QStringLiteral("确定"))};
    QPointer<QXOTAUpdateManager> self(this);
    alerts().showAlert(message, buttons, [self](int button) {
        if (!self || button != 1)
            return;
        const QUrl page(appDownloadPageUrl());
        if (!self->workspace().openUrl(page))
            qxWarning("ota") << "the desktop did not open" << page.toString();
    });
}
