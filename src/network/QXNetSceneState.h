#pragma once

#include <QString>

// The application state the scenes read when they build a request: the stored
// device, the profile values and the language codes. The composition root installs a
// QXAppSceneState, which reads the application's own state; tests install a fake.
class QXNetSceneState {
public:
    virtual ~QXNetSceneState() = default;

    // The last stored device (kept after it is unplugged).
    virtual quint16 deviceVid() const = 0;
    virtual quint16 devicePid() const = 0;
    virtual QString deviceSn() const = 0;
    virtual QString deviceFirmwareVersion() const = 0;
    virtual quint64 deviceMouseType() const = 0;
    virtual int deviceMouseSource() const = 0;

    virtual QString productCode() const = 0;
    virtual QString appKey() const = 0;
    // Reads the one-shot "force a fresh device profile" flag and clears it.
    virtual bool takeForceGetRequest() = 0;

    virtual QString uiLanguageCode() const = 0;
    virtual QString toLanguageCode() const = 0;

    // The machine's address as "A1:B2:..." (client fields), or "" when unreadable.
    virtual QString macAddress() const = 0;
    // The interface-qualified form "<if>_<hex>" the device profile request sends.
    virtual QString interfaceMacAddress() const = 0;
    // The application's short version.
    virtual QString clientVersion() const = 0;

    // The installed state; none installed is a fault of the caller (see InstalledInstance).
    static QXNetSceneState &instance();
    // Returns the previous one. The caller keeps ownership.
    static QXNetSceneState *setInstance(QXNetSceneState *state);
};

// The state as the application keeps it: the stored device and profile values of
// QXUserInfoData, the language tables, the kit's machine address, the tool
// manager's interface address and the application's version.
class QXAppSceneState : public QXNetSceneState {
public:
    quint16 deviceVid() const override;
    quint16 devicePid() const override;
    QString deviceSn() const override;
    QString deviceFirmwareVersion() const override;
    quint64 deviceMouseType() const override;
    int deviceMouseSource() const override;
    QString productCode() const override;
    QString appKey() const override;
    bool takeForceGetRequest() override;
    QString uiLanguageCode() const override;
    QString toLanguageCode() const override;
    QString macAddress() const override;
    QString interfaceMacAddress() const override;
    QString clientVersion() const override;
};
