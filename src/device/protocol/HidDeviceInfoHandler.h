#pragma once

#include "DeviceInfo.h"
#include "HidReportClassifier.h"

#include <QString>

class QXHidReportParser;

// The device's information, connection and status replies turned into the device
// state (QXMouseInfoItem, QXUserInfoData), the device notifications and the follow-up
// requests. Called by QXHidReportParser with reports whose length it has checked.
class HidDeviceInfoHandler {
public:
    explicit HidDeviceInfoHandler(QXHidReportParser &parser) : m_parser(parser) {}

    // 0x61 of the framed, plan-7 and plan-6 families.
    void deviceInfo(const proto::HidReport &r);
    // 0x69 of the framed, plan-7 and plan-6 families.
    void connectionStatus(const proto::HidReport &r);
    // Framed "0d5243": the receiver says whether its mouse is linked.
    void receiverConnection(const proto::HidReport &r);
    void plan4Info(const proto::HidReport &r);
    void plan4Serial(const proto::HidReport &r);
    void plan4Firmware(const proto::HidReport &r);
    void plan3Status(const proto::HidReport &r);

    // Plan-3 raw DPI value to the index into the DPI list of the sensor type.
    static qint64 plan3DpiIndex(quint64 icType, int raw);

private:
    void framedDeviceInfo(const proto::HidReport &r);
    void framedHotKeyInfo(const proto::HidReport &r);
    void framedType5Info(const proto::HidReport &r);
    // Plans 6/7: decodeDeviceInfo(), then applyPlanDeviceInfo().
    void planDeviceInfo(const proto::HidReport &r);
    // Stores the decoded information, posts what changed, closes a microphone left
    // open and sends the follow-up commands of the family.
    void applyPlanDeviceInfo(const proto::DeviceInfo &info, bool plan6, bool timeReply);
    void telinkAudioRate(const QString &firmware, bool samplingRate);

    QXHidReportParser &m_parser;
};
