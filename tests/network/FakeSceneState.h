#pragma once

#include "QXNetSceneState.h"

#include <utility>

// Application state for scene tests; installs itself while alive. `v = {}` resets it.
struct FakeSceneState final : QXNetSceneState {
    struct Values {
        quint16 vid = 12625;
        quint16 pid = 8875;
        QString sn = QStringLiteral("SN1");
        QString firmware = QStringLiteral("1.2");
        quint64 mouseType = 523;
        int mouseSource = 0;
        QString product;
        QString appKey = QStringLiteral("K1");
        bool forceGet = false;
        QString uiLanguage = QStringLiteral("ZH_CN");
        QString toLanguage = QStringLiteral("EN_US");
        QString mac = QStringLiteral("A1:B2:C3:D4:E5:F6");
        QString ifMac = QStringLiteral("eth0_a1b2c3d4e5f6");
        QString version = QStringLiteral("1.0.3");
    } v;

    FakeSceneState() : m_previous(QXNetSceneState::setInstance(this)) {}
    ~FakeSceneState() override { QXNetSceneState::setInstance(m_previous); }

    quint16 deviceVid() const override { return v.vid; }
    quint16 devicePid() const override { return v.pid; }
    QString deviceSn() const override { return v.sn; }
    QString deviceFirmwareVersion() const override { return v.firmware; }
    quint64 deviceMouseType() const override { return v.mouseType; }
    int deviceMouseSource() const override { return v.mouseSource; }
    QString productCode() const override { return v.product; }
    QString appKey() const override { return v.appKey; }
    bool takeForceGetRequest() override { return std::exchange(v.forceGet, false); }
    QString uiLanguageCode() const override { return v.uiLanguage; }
    QString toLanguageCode() const override { return v.toLanguage; }
    QString macAddress() const override { return v.mac; }
    QString interfaceMacAddress() const override { return v.ifMac; }
    QString clientVersion() const override { return v.version; }

private:
    QXNetSceneState *m_previous;
};
