#pragma once

#include "PagePorts.h"
#include "platform/IWorkspace.h"

class HIDDevice;
class QXAuthorityManagementWindowController;
class QXHidCommandManager;
class QXHttpRequestManager;
class QXMouseCommandManager;
class QXOTAUpdateManager;

// The pages' narrow ports over the application's managers: what the page context
// hands the pages of the HID command manager, the firmware update manager and the
// facade's transfers, the HID transport, the maker's API, the web and the permissions
// window. Also the
// workspace the pages get when no desktop service is installed: it opens nothing and
// says so once in the log.
class AppPagePorts final : public IHidOnlyCommands,
                           public IFirmwareUpdates,
                           public IReceiverIds,
                           public IMakerApi,
                           public IPermissionsWindow,
                           public platform::IWorkspace {
public:
    struct Deps {
        QXHidCommandManager &hid;
        QXMouseCommandManager &facade;
        QXOTAUpdateManager &ota;
        HIDDevice &device;
        QXHttpRequestManager &http;
        QXAuthorityManagementWindowController &authority;
    };
    explicit AppPagePorts(Deps deps) : m_deps(deps) {}

    // IHidOnlyCommands
    void sendOpenRGBData() override;
    void sendCloseRGBData() override;
    void modifyReturnRate(qint64 rate) override;
    void sendGetXunFeiChipDeviceInfoData() override;
    // IFirmwareUpdates
    void checkOTAInfo() override;
    void checkDongleOTAInfo() override;
    bool needUpdate() override;
    bool needUpdateDongle() override;
    void deleteOTAFile() override;
    void deleteDongleOTAFile() override;
    void sendStartOTAData() override;
    void sendCancelOTAData() override;
    void sendStartOTADongleData() override;
    void sendCancelOTADongleData() override;
    // IReceiverIds
    qint64 currentVid() const override;
    qint64 currentPid() const override;
    bool hasKeyboardHotKeys() const override;
    bool hasFixedReportRate() const override;
    void openHIDDevice() override;
    // IMakerApi
    void httpRequestWithScene(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback) override;
    bool validNetworkIsNotReable() const override;
    // IPermissionsWindow
    void showPermissions() override;
    // platform::IWorkspace (the stand-in)
    bool openUrl(const QUrl &url) override;

private:
    Deps m_deps;
};
