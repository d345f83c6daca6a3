#pragma once

#include "QXNetSceneState.h"

#include <utility>

// Application state for scene tests; installs itself while alive.
struct FakeSceneState final : QXNetSceneState {
    quint16 vid = 12625;
    quint16 pid = 8875;
    QString sn = QStringLiteral("SN1");
    QString firmware = QStringLiteral("1.2");
    quint64 mouseType = 523;
    int mouseSource = 0;
    QString product;
    QString key = QStringLiteral("K1");
    bool forceGet = false;
    QString uiLanguage = QStringLiteral("ZH_CN");
    QString toLanguage = QStringLiteral("EN_US");
    QString mac = QStringLiteral("A1:B2:C3:D4:E5:F6");
    QString ifMac = QStringLiteral("eth0_a1b2c3d4e5f6");
    QString version = QStringLiteral("1.0.3");

    FakeSceneState() { QXNetSceneState::setInstance(this); }
    ~FakeSceneState() override { QXNetSceneState::setInstance(nullptr); }

    quint16 deviceVid() const override { return vid; }
    quint16 devicePid() const override { return pid; }
    QString deviceSn() const override { return sn; }
    QString deviceFirmwareVersion() const override { return firmware; }
    quint64 deviceMouseType() const override { return mouseType; }
    int deviceMouseSource() const override { return mouseSource; }
    QString productCode() const override { return product; }
    QString appKey() const override { return key; }
    bool takeForceGetRequest() override { return std::exchange(forceGet, false); }
    QString uiLanguageCode() const override { return uiLanguage; }
    QString toLanguageCode() const override { return toLanguage; }
    QString macAddress() const override { return mac; }
    QString interfaceMacAddress() const override { return ifMac; }
    QString clientVersion() const override { return version; }
};
