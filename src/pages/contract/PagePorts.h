#pragma once

#include "QXNetError.h"

#include <QImage>
#include <QString>
#include <QUrl>
#include <QtGlobal>

#include <functional>
#include <memory>

class AccountHeaderView;
class QObject;
class QWidget;
class QXNetBaseScene;
struct PageContext;

// The narrow services the pages reach below them: each names what a page asks of the
// device, the firmware, the receiver, the maker's API and the web, and nothing else.
// The composition root fills them with the application's managers; tests with the
// recorders of PageWorld.

// The commands only the HID command interface has: nothing goes out while a Bluetooth
// LE mouse is connected. Results come back as notifications.
class IHidOnlyCommands {
public:
    virtual ~IHidOnlyCommands() = default;
    virtual void sendOpenRGBData() = 0;
    virtual void sendCloseRGBData() = 0;
    // The index of the chosen entry of the profile's report-rate list.
    virtual void modifyReturnRate(qint64 rate) = 0;
    // Asks the device's voice chip for its device information.
    virtual void sendGetXunFeiChipDeviceInfoData() = 0;
};

// Firmware images the server offers, and their transfer to the mouse and to the
// receiver. The transfer reports progress and its end as notifications.
class IFirmwareUpdates {
public:
    virtual ~IFirmwareUpdates() = default;
    // Ask the server and download an image that differs from the stored one.
    virtual void checkOTAInfo() = 0;
    virtual void checkDongleOTAInfo() = 0;
    // True while a downloaded image of the mouse (of the receiver) is stored.
    virtual bool needUpdate() = 0;
    virtual bool needUpdateDongle() = 0;
    virtual void deleteOTAFile() = 0;
    virtual void deleteDongleOTAFile() = 0;
    virtual void sendStartOTAData() = 0;
    virtual void sendCancelOTAData() = 0;
    virtual void sendStartOTADongleData() = 0;
    virtual void sendCancelOTADongleData() = 0;
};

// The open USB receiver or wired mouse.
class IReceiverIds {
public:
    virtual ~IReceiverIds() = default;
    // Vendor and product id; both 0 while none is open.
    virtual qint64 currentVid() const = 0;
    virtual qint64 currentPid() const = 0;
    // Whether the open receiver is one whose voice keys reach the computer as the
    // keyboard's F1 to F3, so that their shortcuts can be chosen.
    virtual bool hasKeyboardHotKeys() const = 0;
    // True for a receiver whose report rate the user cannot choose.
    virtual bool hasFixedReportRate() const = 0;
    // Opens the matched device again (or starts watching for one); the outcome comes
    // as "kUSBInsertNotification".
    virtual void openHIDDevice() = 0;
};

// The maker's API: one scene, one answer on the main thread.
class IMakerApi {
public:
    virtual ~IMakerApi() = default;
    virtual void httpRequestWithScene(std::shared_ptr<QXNetBaseScene> scene, QXSceneCallback callback) = 0;
    // True when the last reachability check found no network.
    virtual bool validNetworkIsNotReable() const = 0;
};

// The window that lists the permissions the application needs.
class IPermissionsWindow {
public:
    virtual ~IPermissionsWindow() = default;
    // Checks the permissions again and shows the window in front.
    virtual void showPermissions() = 0;
};

// Makes the account header a page shows. The header is a child of host, the page's
// view, over which it slides the login forms; with no host it shows itself but its
// login button does nothing. The account pages implement it.
class IAccountHeaders {
public:
    virtual ~IAccountHeaders() = default;
    virtual AccountHeaderView *makeAccountHeader(const PageContext &context, QWidget *host) = 0;
};
