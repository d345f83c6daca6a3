#include "HidFrames.h"
#include "FrameDecoder.h"
#include "LaserPenRequests.h"
#include "ManualScheduler.h"
#include "QXHidCommandManager.h"
#include "RecordingHidSink.h"
#include "ScopedUserInfoData.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using M = QXHidCommandManager;
QByteArray R(int n, const char *hex)
{
    return RecordingHidSink::R(n, hex);
}

struct Device {
    int plan = 2;
    int deviceType = 1;
    bool connected = true;
    quint64 icType = 2;
};

struct Row {
    const char *what;
    Device dev;
    std::function<void(M &)> send;
    QList<QByteArray> reports; // exactly what goes on the wire
    const char *decoded;       // what a device of the family reads in the first report; nullptr: nothing sent
};

class HidFrames : public ::testing::Test {
protected:
    ManualScheduler sched;
    ScopedUserInfoData state;
    RecordingHidSink sink;
    FixedClock clock{QDateTime(QDate(2026, 3, 15), QTime(14, 5, 9))}; // a Sunday
    M mgr;

    void SetUp() override
    {
        mgr.setHidSink(&sink);
        mgr.setClock(&clock);
    }
    void use(const Device &d)
    {
        state->setChipPlan(d.plan);
        state->mouseInfoItem().setDeviceType(quint64(d.deviceType));
        state->setMouseIsConnect(d.connected);
        state->mouseInfoItem().setIcType(d.icType);
    }
    void check(const Row &r)
    {
        use(r.dev);
        sink.reports.clear();
        r.send(mgr);
        EXPECT_EQ(sink.reports, r.reports) << r.what;
        if (r.decoded) {
            ASSERT_FALSE(sink.reports.isEmpty()) << r.what;
            const auto d = sim::FrameDecoder::decodeHid(r.dev.plan, sink.reports.first());
            ASSERT_TRUE(d.has_value()) << r.what;
            EXPECT_EQ(d->command, QString::fromLatin1(r.decoded)) << r.what;
        }
    }
};

const Device P1{1}, P2{2}, P3{3}, P4{4}, P5{5}, P6{6}, P7{7};
Device with(Device d, int deviceType, bool connected = true)
{
    d.deviceType = deviceType;
    d.connected = connected;
    return d;
}

TEST_F(HidFrames, InformationConnectionAndAcknowledgement)
{
    const Row rows[] = {
        {"info plan 2", P2, &M::sendGetMouseInfoData, {R(64, "0da54d04614c")}, "sendGetMouseInfoData"},
        {"info plan 2 without mouse asks for the mouse",
         with(P2, 1, false),
         &M::sendGetMouseInfoData,
         {R(64, "0da54d04694c")},
         "sendSearchMouseConnectStatusData"},
        {"info remote control without mouse",
         with(P2, 4, false),
         &M::sendGetMouseInfoData,
         {R(64, "0d53430045")},
         "sendSearchMouseConnectStatusData"},
        {"info hot-key receiver needs no mouse",
         with(P2, 3, false),
         &M::sendGetMouseInfoData,
         {R(64, "0da54d04614c")},
         "sendGetMouseInfoData"},
        {"info plan 7 whatever the mouse",
         with(P7, 1, false),
         &M::sendGetMouseInfoData,
         {R(21, "a6034d614c")},
         "sendGetMouseInfoData"},
        {"info laser pen plan 6",
         with(P6, 2),
         &M::sendGetMouseInfoData,
         {R(33, "0c4d04904c")},
         "sendGetTelinkLaserPenInfoData"},
        {"info plan 4", P4, &M::sendGetMouseInfoData, {R(21, "0c052f")}, "sendGetMouseInfoData"},
        {"info plan 4 without mouse: no query there",
         with(P4, 1, false),
         &M::sendGetMouseInfoData,
         {R(21, "00")},
         "zeroReport"},
        {"info plan 5", P5, &M::sendGetMouseInfoData, {R(64, "4d04614c")}, "sendGetMouseInfoData"},
        {"info plan 6", P6, &M::sendGetMouseInfoData, {R(21, "0c4d04614c")}, "sendGetMouseInfoData"},
        {"info plan 3 has none", P3, &M::sendGetMouseInfoData, {R(24, "00")}, "zeroReport"},
        {"pointer receiver reports are 8 bytes",
         with(P2, 5),
         &M::sendGetMouseInfoData,
         {R(8, "0da54d04614c")},
         "sendGetMouseInfoData"},
        {"connection plan 6",
         P6,
         &M::sendSearchMouseConnectStatusData,
         {R(21, "0c4d04694c")},
         "sendSearchMouseConnectStatusData"},
        {"connection plan 7 is the information request",
         P7,
         &M::sendSearchMouseConnectStatusData,
         {R(21, "a6034d614c")},
         "sendGetMouseInfoData"},
        {"ack plan 2", P2, &M::sendGetReceiveData, {R(64, "0da54d04104c")}, "sendGetReceiveData"},
        {"ack plan 4", P4, &M::sendGetReceiveData, {R(21, "0c0529")}, "sendGetReceiveData"},
        {"ack plan 5", P5, &M::sendGetReceiveData, {R(64, "4d04104c")}, "sendGetReceiveData"},
        {"ack plan 6", P6, &M::sendGetReceiveData, {R(21, "0c4d04104c")}, "sendGetReceiveData"},
        {"ack plan 7", P7, &M::sendGetReceiveData, {R(21, "a6034d104c")}, "sendGetReceiveData"},
        {"ack plan 3", P3, &M::sendGetReceiveData, {R(24, "00")}, "zeroReport"},
        {"dongle info", P2, &M::sendGetDongleInfo, {R(64, "0da54d04234c")}, "sendGetDongleInfo"},
        {"serial plan 4", P4, &M::sendGetMouseSN, {R(21, "0c0538")}, "sendGetMouseSN"},
        {"firmware plan 4", P4, &M::sendGetDeviceFireware, {R(21, "0c052e")}, "sendGetDeviceFireware"},
        {"serial plan 2 has none", P2, &M::sendGetMouseSN, {R(64, "00")}, "zeroReport"},
    };
    for (const Row &r : rows)
        check(r);
}

TEST_F(HidFrames, MicrophoneLedAndPopUp)
{
    const Row rows[] = {
        {"mic open 2", P2, &M::sendOpenMicData, {R(64, "0da54d04624c")}, "sendOpenMicData"},
        {"mic close 2", P2, &M::sendCloseMicData, {R(64, "0da54d04634c")}, "sendCloseMicData"},
        {"mic open 3", P3, &M::sendOpenMicData, {R(24, "000201")}, "sendOpenMicData"},
        {"mic close 3", P3, &M::sendCloseMicData, {R(24, "000200")}, "sendCloseMicData"},
        {"mic open 4 is a 5-byte report", P4, &M::sendOpenMicData, {R(5, "1ba5f1")}, "sendOpenMicData"},
        {"mic close 4", P4, &M::sendCloseMicData, {R(5, "1ba5f2")}, "sendCloseMicData"},
        {"mic open 5", P5, &M::sendOpenMicData, {R(64, "00")}, "zeroReport"},
        {"mic open 6", P6, &M::sendOpenMicData, {R(21, "0c4d04624c")}, "sendOpenMicData"},
        {"mic open 7", P7, &M::sendOpenMicData, {R(21, "a6034d624c")}, "sendOpenMicData"},
        {"led on 2", P2, &M::sendOpenLedData, {R(64, "0da54d04644c")}, "sendOpenLedData"},
        {"led off 2", P2, &M::sendCloseLedData, {R(64, "0da54d04654c")}, "sendCloseLedData"},
        {"led on 3", P3, &M::sendOpenLedData, {R(24, "0f051101")}, "sendOpenLedData"},
        {"led off 4 has report id 0d", P4, &M::sendCloseLedData, {R(21, "0d1100")}, "sendCloseLedData"},
        {"led on 6", P6, &M::sendOpenLedData, {R(21, "00")}, "zeroReport"},
        {"pop-up close 2", P2, &M::sendClosePopUpWebSiteData, {R(64, "0da54d04674c")}, "sendClosePopUpWebSiteData"},
        {"pop-up close 3", P3, &M::sendClosePopUpWebSiteData, {R(24, "0f051655")}, "sendClosePopUpWebSiteData"},
        {"pop-up open 3", P3, &M::sendOpenPopUpWebSiteData, {R(24, "0f051600")}, "sendOpenPopUpWebSiteData"},
        {"pop-up close 4", P4, &M::sendClosePopUpWebSiteData, {R(21, "0c052655")}, "sendClosePopUpWebSiteData"},
        {"pop-up open 4", P4, &M::sendOpenPopUpWebSiteData, {R(21, "0c052600")}, "sendOpenPopUpWebSiteData"},
        {"pop-up close 6", P6, &M::sendClosePopUpWebSiteData, {R(21, "0c4d04674c")}, "sendClosePopUpWebSiteData"},
        {"pop-up close 7", P7, &M::sendClosePopUpWebSiteData, {R(21, "a6034d674c")}, "sendClosePopUpWebSiteData"},
        {"pop-up open 7", P7, &M::sendOpenPopUpWebSiteData, {R(21, "a6034d664c")}, "sendOpenPopUpWebSiteData"},
    };
    for (const Row &r : rows)
        check(r);
}

TEST_F(HidFrames, DpiRateAndKeyCommand)
{
    Device p3chip1 = P3;
    p3chip1.icType = 1;
    auto dpi = [](qint64 i) { return [i](M &m) { m.sendSetDpiData(i); }; };
    auto key = [](qint64 a, qint64 b) { return [a, b](M &m) { m.sendKeyCommandDataKeyCode1(a, b); }; };
    auto rate = [](qint64 r) { return [r](M &m) { m.modifyReturnRate(r); }; };
    const Row rows[] = {
        {"dpi 2", P2, dpi(3), {R(64, "0da54d0568034c")}, "sendSetDpiData"},
        {"dpi 3 sensor 1 index 4", p3chip1, dpi(4), {R(24, "0f05123f")}, "sendSetDpiData"},
        {"dpi 3 sensor 1 index 0", p3chip1, dpi(0), {R(24, "0f051220")}, "sendSetDpiData"},
        {"dpi 3 sensor 1 index 5 stays", p3chip1, dpi(5), {R(24, "0f051205")}, "sendSetDpiData"},
        {"dpi 3 sensor 2", P3, dpi(1), {R(24, "0f051201")}, "sendSetDpiData"},
        {"dpi 4", P4, dpi(2), {R(21, "0c052202")}, "sendSetDpiData"},
        {"dpi 5 length byte 03", P5, dpi(2), {R(64, "4d0368024c")}, "sendSetDpiData"},
        {"dpi 6 counts from 1", P6, dpi(0), {R(21, "0c4d0568014c")}, "sendSetDpiData"},
        {"dpi 6 laser pen", with(P6, 2), dpi(0), {R(33, "0c4d0568014c")}, "sendSetDpiData"},
        {"dpi 7 counts from 1", P7, dpi(2), {R(21, "a6044d68034c")}, "sendSetDpiData"},
        {"dpi 1 has none", P1, dpi(2), {R(16, "00")}, "zeroReport"},
        {"dpi pointer receiver", with(P2, 5), dpi(3), {R(8, "0da54d0568034c")}, "sendSetDpiData"},
        {"dpi 300 keeps its low byte", P2, dpi(300), {R(64, "0da54d05682c4c")}, "sendSetDpiData"},
        {"dpi -1 keeps its low byte", P2, dpi(-1), {R(64, "0da54d0568ff4c")}, "sendSetDpiData"},
        {"dpi 255 on plan 6 wraps to 0", P6, dpi(255), {R(21, "0c4d0568004c")}, "sendSetDpiData"},
        {"rate 6", P6, rate(2), {R(21, "0c4d0513024c")}, "modifyReturnRate"},
        {"rate 7", P7, rate(2), {R(21, "a6044d13024c")}, "modifyReturnRate"},
        {"rate 2 has none", P2, rate(2), {R(64, "00")}, "zeroReport"},
        {"key 2", P2, key(8, 25), {R(64, "0da54d062008194c")}, "sendKeyCommandDataKeyCode1"},
        {"key 2 return", P2, key(0, 40), {R(64, "0da54d062000284c")}, "sendKeyCommandDataKeyCode1"},
        {"key 3 uses the plan-4 frame", P3, key(8, 25), {R(24, "0c05200819")}, "sendKeyCommandDataKeyCode1"},
        {"key 4", P4, key(8, 25), {R(21, "0c05200819")}, "sendKeyCommandDataKeyCode1"},
        {"key 5 length byte 05", P5, key(8, 25), {R(64, "4d052008194c")}, "sendKeyCommandDataKeyCode1"},
        {"key 6", P6, key(8, 25), {R(21, "0c4d062008194c")}, "sendKeyCommandDataKeyCode1"},
        {"key 7 length byte 04", P7, key(8, 25), {R(21, "a6044d2008194c")}, "sendKeyCommandDataKeyCode1"},
        {"key codes keep their low bytes",
         P2,
         key(0x108, 0x7fff0019),
         {R(64, "0da54d062008194c")},
         "sendKeyCommandDataKeyCode1"},
    };
    for (const Row &r : rows)
        check(r);
}

TEST_F(HidFrames, LightingProductionAndReset)
{
    auto v = [](void (M::*f)(qint64), qint64 x) { return [f, x](M &m) { (m.*f)(x); }; };
    auto burner = [](M &m) { m.sendSetBurnerInfoPID(0x22ab, 0x3151, 1, 2, 0x38, 1); };
    auto telinkRate = [](M &m) { m.sendSetTelinkBurnerInfozAudio_reat(1); };
    const Row rows[] = {
        {"mode read",
         P2,
         &M::sendGetLightingEffectsModeData,
         {R(64, "0da54d04834c")},
         "sendGetLightingEffectsModeData"},
        {"brightness read",
         P2,
         &M::sendGetLightingEffectsBrightnessData,
         {R(64, "0da54d04854c")},
         "sendGetLightingEffectsBrightnessData"},
        {"speed read",
         P2,
         &M::sendGetLightingEffectsSpeedData,
         {R(64, "0da54d04874c")},
         "sendGetLightingEffectsSpeedData"},
        {"colour read",
         P2,
         &M::sendGetLightingEffectsColorData,
         {R(64, "0da54d04894c")},
         "sendGetLightingEffectsColorData"},
        {"hand read",
         P2,
         &M::sendGetMouseLeftOrRightHandBehavior,
         {R(64, "0da54d048b4c")},
         "sendGetMouseLeftOrRightHandBehavior"},
        {"mode set",
         P2,
         v(&M::sendSetLightingEffectsModeData, 4),
         {R(64, "0da54d0584044c")},
         "sendSetLightingEffectsModeData"},
        {"brightness set",
         P2,
         v(&M::sendSetLightingEffectsBrightnessData, 3),
         {R(64, "0da54d0586034c")},
         "sendSetLightingEffectsBrightnessData"},
        {"speed set",
         P2,
         v(&M::sendSetLightingEffectsSpeedData, 2),
         {R(64, "0da54d0588024c")},
         "sendSetLightingEffectsSpeedData"},
        {"colour set 260",
         P2,
         v(&M::sendSetLightingEffectsColorData, 260),
         {R(64, "0da54d058a044c")},
         "sendSetLightingEffectsColorData"},
        {"hand set",
         P2,
         v(&M::sendSetMouseLeftOrRightHandBehaviorData, 1),
         {R(64, "0da54d058c014c")},
         "sendSetMouseLeftOrRightHandBehaviorData"},
        {"lighting on plan 6 has none", P6, &M::sendGetLightingEffectsModeData, {R(21, "00")}, "zeroReport"},
        {"rgb logo on", P2, &M::sendOpenRGBLogoLEDData, {R(64, "0da54d04814c")}, "sendOpenRGBLogoLEDData"},
        {"rgb logo off", P2, &M::sendCloseRGBLogoLEDData, {R(64, "0da54d04824c")}, "sendCloseRGBLogoLEDData"},
        {"rgb on 6", P6, &M::sendOpenRGBData, {R(21, "0c4d04834c")}, "sendOpenRGBData"},
        {"rgb on 7 length byte 04", P7, &M::sendOpenRGBData, {R(21, "a6044d834c")}, "sendOpenRGBData"},
        {"rgb off 7", P7, &M::sendCloseRGBData, {R(21, "a6044d844c")}, "sendCloseRGBData"},
        {"product mode 7", P7, v(&M::sendSetProductMode, 0x0102), {R(21, "a6054d6b02014c")}, "sendSetProductMode"},
        {"product mode 4", P4, v(&M::sendSetProductMode, 0x0102), {R(21, "0c052702")}, "sendSetProductMode"},
        {"burner info drops the website type",
         P2,
         burner,
         {R(64, "0da54d0c21ab2251310102384c")},
         "sendSetBurnerInfoPID"},
        {"telink audio rate", P6, telinkRate, {R(21, "0c4d126d014c")}, "sendSetTelinkBurnerInfozAudio_reat"},
        {"telink audio rate elsewhere sends nothing", P2, telinkRate, {}, nullptr},
        {"reset keys 1", P1, &M::sendResetKeyStatusData, {R(16, "0d14")}, "sendResetKeyStatusData"},
        {"reset keys 2", P2, &M::sendResetKeyStatusData, {R(64, "0da50100")}, "sendResetKeyStatusData"},
        {"reset keys laser pen",
         with(P2, 2),
         &M::sendResetKeyStatusData,
         {R(64, "0da5a100")},
         "sendResetKeyStatusData"},
    };
    for (const Row &r : rows)
        check(r);
}

TEST_F(HidFrames, PointerVoiceChipAndClock)
{
    auto countdown = [](qint64 s) { return [s](M &m) { m.sendTelinkLaserPenCountdownData(s); }; };
    auto shake = [](double d) { return [d](M &m) { m.sendLaserPenShakeEffectData(d); }; };
    auto mode = [](qint64 x) { return [x](M &m) { m.sendLaserPenModeData(x); }; };
    const Row rows[] = {
        {"countdown 300 s big-endian",
         P6,
         countdown(300),
         {R(21, "0c4d06ff012c4c")},
         "sendTelinkLaserPenCountdownData"},
        {"countdown 90 s", P2, countdown(90), {R(64, "0c4d06ff005a4c")}, "sendTelinkLaserPenCountdownData"},
        {"shake 2.55 s", P2, shake(2.55), {R(64, "0da54d06a919004c")}, "sendLaserPenShakeEffectData"},
        {"shake 30 s", P2, shake(30.0), {R(64, "0da54d06a92c014c")}, "sendLaserPenShakeEffectData"},
        {"shake on plan 6 has none", P6, shake(2.0), {R(21, "00")}, "zeroReport"},
        {"pen mode 2", P2, mode(2), {R(64, "0da54d05aa024c")}, "sendLaserPenModeData"},
        {"pen mode plan 6", P6, mode(2), {R(21, "00")}, "zeroReport"},
        {"pen dpi", P2, [](M &m) { m.sendLaserPenDpiData(3); }, {R(64, "0da54d05a8034c")}, "sendLaserPenDpiData"},
        {"enter mouse status 2",
         P2,
         &M::sendLaserPenEnterMouseStatusData,
         {R(64, "0da54d04ab4c")},
         "sendLaserPenEnterMouseStatusData"},
        {"enter mouse status 6: Telink frame, then a zero report",
         P6,
         &M::sendLaserPenEnterMouseStatusData,
         {R(21, "0c4d04b04c"), R(21, "00")},
         "sendTelinkLaserPenEnterMouseStatusData"},
        {"quit mouse status 6",
         P6,
         &M::sendLaserPenQuitMouseStatusData,
         {R(21, "0c4d04b14c"), R(21, "00")},
         "sendTelinkLaserPenQuitMouseStatusData"},
        {"quit mouse status 2",
         P2,
         &M::sendLaserPenQuitMouseStatusData,
         {R(64, "0da54d04ac4c")},
         "sendLaserPenQuitMouseStatusData"},
        {"online", P6, &M::sendTelinkLaserPenOnlineData, {R(21, "0c4d04b64c")}, "sendTelinkLaserPenOnlineData"},
        {"offline", P6, &M::sendTelinkLaserPenOffLineData, {R(21, "0c4d04b74c")}, "sendTelinkLaserPenOffLineData"},
        {"hard laser on",
         P2,
         &M::sendTelinkLaserPenOpenHardLaserData,
         {R(64, "0c4d04b44c")},
         "sendTelinkLaserPenOpenHardLaserData"},
        {"voice chip info on any plan",
         P4,
         &M::sendGetXunFeiChipDeviceInfoData,
         {R(21, "0c4d04714c")},
         "sendGetXunFeiChipDeviceInfoData"},
        {"keep-alive", P2, &M::sendCommandOperation, {R(64, "0c4d04104c")}, "sendCommandOperation"},
        {"time sync", P2, &M::sendCurrentTimeData, {R(64, "1c4d0c8001001a030f000e05094d")}, "sendCurrentTimeData"},
        {"telink time",
         P6,
         &M::sendTelinkLaserPenCurrentTimeData,
         {R(21, "0c4f632f0e0509")},
         "sendTelinkLaserPenCurrentTimeData"},
    };
    for (const Row &r : rows)
        check(r);
}

TEST(HidFramePieces, ClockAndVoiceChipFrames)
{
    // 2025-12-31 23:59:58 is a Wednesday (calendar weekday 4).
    const QDateTime eve(QDate(2025, 12, 31), QTime(23, 59, 58));
    EXPECT_EQ(proto::hidCurrentTimeFrame(eve).toHex(), "1c4d0c800100190c1f03173b3a4d");
    EXPECT_EQ(proto::hidTelinkCurrentTimeFrame(eve).toHex(), "0c4f5c9f173b3a");
    // A year outside 20xx sets the century byte.
    EXPECT_EQ(proto::hidCurrentTimeFrame(QDateTime(QDate(2100, 1, 1), QTime(0, 0))).mid(5, 2).toHex(), "0100");

    EXPECT_EQ(proto::hidXunFeiChipAuthFrame(0x6000000f).toHex(), "0c4d0f720000604c");
    EXPECT_EQ(proto::hidXunFeiChipAuthFrame(1700000000).toHex(), "0c4d0072f153654c");
    // Short times fill the pieces they have; the frame keeps its shape.
    // A short time fills the pieces its text has; the frame keeps its shape.
    EXPECT_EQ(proto::hidXunFeiChipAuthFrame(0x1234).toHex(), "0c4d00720034124c");

    // The shake duration clamps to 16 bits; it used to wrap, so -0.1 s went out as 65535
    // tenths and 6553.7 s as 1.
    EXPECT_EQ(laserpen::shakeTenths(2.55), 25);
    EXPECT_EQ(laserpen::shakeTenths(-0.15), 0);
    EXPECT_EQ(laserpen::shakeTenths(6553.7), 0xffff);
    EXPECT_EQ(laserpen::shakeTenths(1e300), 0xffff); // no undefined conversion
    EXPECT_EQ(laserpen::shakeTenths(std::nan("")), 0);
}

TEST(HidFramePieces, SerialNumbersOutsideTheFrameAreRefused)
{
    proto::HidContext p2{2}, p4{4}, p6{6}, p7{7}, p1{1};
    QString error;
    EXPECT_EQ(proto::hidSetSnFrames(p2, "AB12").front().toHex(), "0da54d0822414231324c");
    EXPECT_EQ(proto::hidSetSnFrames(p4, "AB12").front().toHex(), "0c053041423132");
    EXPECT_EQ(proto::hidSetSnFrames(p7, "QX0123456789abcdef").front().toHex(), "a60d4d6a51580123456789abcdef4c");
    EXPECT_EQ(proto::hidSetSnFrames(p1, "AB12"), proto::HidFrameList{QByteArray()}); // zero report

    // The longest text each family's report holds still goes out whole.
    EXPECT_EQ(proto::hidSetSnFrames(p2, QString(58, u'A')).front().size(), 64);
    EXPECT_EQ(proto::hidSetSnFrames(p4, QString(18, u'A')).front().size(), 21);

    const struct {
        const char *what;
        proto::HidContext ctx;
        QString sn;
    } refused[] = {
        {"plan 2 past its report", p2, QString(59, u'A')},
        {"plan 2 past the buffer", p2, QString(300, u'A')},
        {"plan 4 past its report", p4, QString(19, u'A')},
        {"plan 7 too long", p7, "QX0123456789abcdef00"},
        {"plan 7 too short", p7, "QX0123"},
        {"plan 7 not hexadecimal", p7, "QX0123456789abcdeg"},
        {"not ASCII", p2, QString::fromUtf8("序列号")},
    };
    for (const auto &r : refused) {
        error.clear();
        EXPECT_TRUE(proto::hidSetSnFrames(r.ctx, r.sn, &error).empty()) << r.what;
        EXPECT_FALSE(error.isEmpty()) << r.what;
    }

    EXPECT_EQ(proto::hidSetTelinkSnFrames(p6, "0a1b").front().toHex(), "0c4d126a0a1b4c");
    EXPECT_TRUE(proto::hidSetTelinkSnFrames(p2, "0a1b").empty());
    EXPECT_TRUE(proto::hidSetTelinkSnFrames(p6, "0a1").empty());
    EXPECT_TRUE(proto::hidSetTelinkSnFrames(p6, "zz").empty());
    EXPECT_TRUE(proto::hidSetTelinkSnFrames(p6, QString(34, u'0')).empty());
}

TEST(HidFramePieces, UnknownPlansGetTheZeroReportOrNothing)
{
    for (int plan : {0, 8, -2, 99}) {
        proto::HidContext ctx{plan};
        ctx.mouseIsConnect = true;
        EXPECT_EQ(proto::hidFrames(proto::HidCommand::SetDpi, ctx, {3}), proto::HidFrameList{QByteArray()}) << plan;
        EXPECT_TRUE(proto::hidFrames(proto::HidCommand::SetTelinkBurnerInfoMouseType, ctx, {3}).empty()) << plan;
        // Frames of every plan stay the same.
        EXPECT_EQ(proto::hidFrames(proto::HidCommand::TelinkLaserPenOnline, ctx).front().toHex(), "0c4d04b64c");
    }
}

} // namespace
