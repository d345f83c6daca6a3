#pragma once

#include "models/QXOTAModel.h"

#include <QObject>
#include <QString>

#include <functional>

class AlertPresenter;
class HookStates;
class KeyValueStore;
class QNetworkAccessManager;
class QXUserInfoData;
struct QXDownloadResult;
namespace platform {
class IWorkspace;
}

// Finds out whether the maker publishes newer firmware for the connected mouse and
// its receiver, downloads the image ahead of the user's request and remembers its
// path per product code, so the firmware transfers and the about page find it.
// Also checks once per launch whether a newer application is published and offers
// its download page.
//
// Firmware images are saved in the data root as "<productCode>_<name>", the name
// being the server's suggestion reduced to a plain file name. A download replaces
// the previous file only when it arrived complete with a 2xx answer; the product
// code is the one current when the download started, so a device change during a
// download never files one product's image under another's key.
//
// Main thread only.
class QXOTAUpdateManager : public QObject {
    Q_OBJECT
public:
    struct Deps {
        KeyValueStore *store = nullptr;                   // nullptr: defaultStore()
        QXUserInfoData *state = nullptr;                  // nullptr: QXUserInfoData::sharedInstance()
        AlertPresenter *alerts = nullptr;                 // nullptr: nobody is asked (logged once)
        platform::IWorkspace *workspace = nullptr;        // nullptr: the installed desktop service
        QNetworkAccessManager *network = nullptr;         // nullptr: the shared HTTP client's
        std::function<QString()> appVersion;              // default: the application's version
        std::function<QString(const QString &)> localize; // default: hrvAppLocalizedString
    };

    // The process-wide instance, which the composition root constructed and installed.
    static QXOTAUpdateManager &sharedInstance();
    static QXOTAUpdateManager *setSharedInstance(QXOTAUpdateManager *instance); // returns the previous one
    QXOTAUpdateManager();
    explicit QXOTAUpdateManager(Deps deps, QObject *parent = nullptr);
    ~QXOTAUpdateManager() override;
    void listHooks(HookStates &out) const;

    // Asks the upgrade service about the mouse (type "MOUSE") or receiver ("USB")
    // firmware and downloads the image unless the same file is already here.
    void checkOTAInfo();
    void checkDongleOTAInfo();

    // The stored image path of the current product code ("" when none); read afresh
    // on every call.
    QString filePath();
    QString filePathDongle();
    // Whether that path names an existing file.
    bool needUpdate();
    bool needUpdateDongle();
    // Removes the image; the stored path becomes "" only when the removal worked.
    void deleteOTAFile();
    void deleteDongleOTAFile();

    // Downloads an image; an empty or non-http(s) address does nothing. When the
    // download ends, whatever its outcome, "kUpdateOTAStatusNotification" is posted.
    void downLoadFileFromUrl(const QString &url);
    void downLoadDongleFileFromUrl(const QString &url);

    // Downloads the published version text and, when it orders after the
    // application's version, shows the update alert. Silent on every failure.
    void checkAppVersion();
    // "检测到有新版本，是否升级？" with "取消" and "确定"; "确定" opens the download page.
    void showAppUpdateAlertView();

    const QXOTAModel &otaModel() const { return m_otaModel; }
    const QXOTAModel &otaDongleModel() const { return m_otaDongleModel; }

    // Where the images and the version text are saved.
    static QString firmwareFolder();
    // The maker's web site: $QX_WEB_BASE, else the store's "serviceBase.web", else
    // the built-in host; no trailing "/".
    static QString webBase();
    static QString appVersionFileUrl();
    static QString appDownloadPageUrl();

private:
    enum class Target { Mouse, Dongle };

    void check(Target target);
    QString storedPath(Target target);
    bool fileExists(Target target);
    void deleteFile(Target target);
    void download(Target target, const QString &url);
    void onFirmwareDownloaded(Target target, const QString &productCode, const QXDownloadResult &result);
    void onVersionFileDownloaded(const QXDownloadResult &result);

    KeyValueStore &store() const;
    QXUserInfoData &state() const;
    AlertPresenter &alerts() const;
    platform::IWorkspace &workspace() const;

    Deps m_deps;
    QXOTAModel m_otaModel;
    QXOTAModel m_otaDongleModel;
    QString m_filePath;
    QString m_filePathDongle;
    bool m_needUpdate = false;
    bool m_needUpdateDongle = false;
};
