#include "BleParserFixture.h"
#include "NotificationNames.h"
#include "TPRDelayInvocation.h"

namespace {

namespace notify = qx::notify;

const char kAck[] = "4d04104c";

// 4d 61 00, serial "QX1234", pid, vid, led 1, mic, ic 2, dpi 3, model, 90 %, "V2.0.1", 4c
QByteArray standardInfo(const char *pid = "ab22", const char *model = "48", const char *mic = "01")
{
    return QByteArray::fromHex("4d6100515831323334") + QByteArray(24, '\0')
           + QByteArray::fromHex(QByteArray(pid) + "5131" + "01" + mic + "0203" + model + "5a" + "56322e302e31" + "4c");
}

TEST_F(BleParserTest, MouseAcknowledgementIsNotAnsweredEverythingElseIs)
{
    feed("4d10004c");
    EXPECT_TRUE(writes().isEmpty());

    // Events outside both tables get the acknowledgement and nothing else.
    feed("4d3f004c");
    feed("4d73004c");
    feed("4dee00014c");
    EXPECT_EQ(writes(), (QByteArrayList{kAck, kAck, kAck}));
    EXPECT_TRUE(notes.names().isEmpty());

    adapter.writes.clear();
    fakes.keys.setPressType(0);
    feed("4d5a004c");
    EXPECT_EQ(writes(), QByteArrayList{kAck});
    EXPECT_TRUE(mgr.isStartVoice());
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{0});
}

TEST_F(BleParserTest, StandardDeviceInformation)
{
    fakes.keys.setHadStart(false);
    feedBytes(standardInfo());
    EXPECT_EQ(item().sn(), "QX1234");
    EXPECT_EQ(item().pid(), 0x22AB);
    EXPECT_EQ(item().vid(), 0x3151);
    EXPECT_EQ(item().led(), 1);
    EXPECT_EQ(item().mic(), 1);
    EXPECT_EQ(item().icType(), 2u);
    EXPECT_EQ(item().dpi(), 3);
    EXPECT_EQ(item().mouseType(), 72u);
    EXPECT_EQ(item().powerPercent(), 90.0);
    EXPECT_EQ(item().firmwareVersion(), "V2.0.1");
    EXPECT_EQ(state->productCode(), "72");
    // Model 72 has lighting: read it back; the microphone reported on is closed.
    EXPECT_EQ(writes(), (QByteArrayList{kAck, "4d04834c", "4d04854c", "4d04874c", "4d04894c", "4d048b4c", "4d04634c",
                                        "4d04674c"}));
    EXPECT_EQ(notes.names(), (QStringList{notify::HadUSBInfoNotification, notify::HadElectricInfoNotification}));
}

TEST_F(BleParserTest, DeviceInformationVariants)
{
    const struct {
        const char *what;
        const char *pid, *model;
        int source; // expected mouseSource
        quint64 deviceType;
        const char *productCode;
        int lightingReads;
    } rows[] = {
        {"international receiver", "ab32", "38", 1, 1, "56", 5},
        {"Asia-Pacific receiver", "ab3c", "10", 2, 1, "16", 0},
        {"laser-pen model", "ab31", "ca", 0, 2, "202", 0},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.what);
        item().setDeviceType(1);
        item().setMouseSource(7);
        adapter.writes.clear();
        feedBytes(standardInfo(r.pid, r.model, "00"));
        EXPECT_EQ(item().mouseSource(), quint64(r.source));
        EXPECT_EQ(item().deviceType(), r.deviceType);
        EXPECT_EQ(state->productCode(), r.productCode);
        EXPECT_EQ(writes().size(), 1 + r.lightingReads + 1); // ack, reads, close pop-up (mic is off)
    }

    // Other pairs leave the source alone; a payload of 40-45 bytes keeps the version.
    item().setMouseSource(2);
    item().setFirmwareVersion(QStringLiteral("V1"));
    QByteArray noVersion = standardInfo("ab22").left(3 + 40);
    noVersion.append('\x4c');
    feedBytes(noVersion);
    EXPECT_EQ(item().mouseSource(), 2u);
    EXPECT_EQ(item().firmwareVersion(), "V1");
}

TEST_F(BleParserTest, InformationDuringDictationLeavesTheMicrophoneOpen)
{
    // The battery poll asks for the information every few minutes; a reply that lands
    // in the middle of a voice input must not switch the microphone off.
    fakes.keys.setHadStart(true);
    feedBytes(standardInfo());
    EXPECT_FALSE(writes().contains("4d04634c"));
    EXPECT_EQ(notes.count(notify::HadUSBInfoNotification), 1);
}

TEST_F(BleParserTest, PointerDeviceInformation)
{
    item().setDeviceType(5);
    feed("4d1361a1b2c3d4e5f6ab225131030204ca501b4c");
    EXPECT_EQ(item().sn(), "a1b2c3d4e5f6");
    EXPECT_EQ(item().pid(), 0x22AB);
    EXPECT_EQ(item().led(), 1);
    EXPECT_EQ(item().mic(), 1);
    EXPECT_EQ(item().dpi(), 4);
    EXPECT_EQ(item().mouseType(), 202u);
    EXPECT_EQ(item().deviceType(), 5u); // the pointer stays the pointer
    EXPECT_EQ(state->productCode(), "202");
    EXPECT_EQ(item().powerPercent(), 80.0);
    EXPECT_EQ(item().firmwareVersion(), "1b");
    EXPECT_EQ(writes(), (QByteArrayList{kAck, "4d04674c"}));
    EXPECT_EQ(notes.names(), (QStringList{notify::HadUSBInfoNotification, notify::HadElectricInfoNotification}));
}

TEST_F(BleParserTest, ShortFramesAreDroppedSafely)
{
    item().setSn(QStringLiteral("KEEP"));
    feed("4d4c");
    feed("4d614c");
    EXPECT_TRUE(writes().isEmpty());
    // An information frame with a short payload is acknowledged but changes nothing.
    feedBytes(standardInfo().left(3 + 39) + "\x4c");
    item().setDeviceType(5);
    feed("4d1361a1b2c3d4e5f6ab2251314c");
    EXPECT_EQ(writes(), (QByteArrayList{kAck, kAck}));
    EXPECT_EQ(item().sn(), "KEEP");
    EXPECT_TRUE(notes.names().isEmpty());
    // One-byte replies without their byte store nothing.
    item().setDeviceType(1);
    item().setLightingEffectsBrightness(9);
    feed("4d85004c");
    EXPECT_EQ(item().lightingEffectsBrightness(), 9);
    EXPECT_TRUE(notes.names().isEmpty());
}

TEST_F(BleParserTest, LightingAndHandReplies)
{
    feed("4d8300034c");
    feed("4d8500024c");
    feed("4d8700014c");
    feed("4d8900054c");
    feed("4d8b00014c");
    EXPECT_EQ(item().lightingEffectsMode(), 3);
    EXPECT_EQ(item().lightingEffectsBrightness(), 2);
    EXPECT_EQ(item().lightingEffectsSpeed(), 1);
    EXPECT_EQ(item().lightingEffectsColor(), 5);
    EXPECT_EQ(item().mouseLeftOrRightHandBehavior(), 1);
    EXPECT_EQ(notes.count(notify::kUpdateLightingEffectsNotification), 4);
    EXPECT_EQ(notes.count(notify::kUpdateMouseLeftOrRightHandBehaviorNotification), 1);

    adapter.writes.clear();
    feed("4d84004c"); // a setting was changed on the mouse: read mode and colour
    feed("4d68004c"); // DPI changed: read the information
    EXPECT_EQ(writes(), (QByteArrayList{kAck, "4d04834c", "4d04894c", kAck, "4d04614c"}));

    // The pointer reads its one-byte values at the same place.
    item().setDeviceType(5);
    feed("4d05850a4c");
    EXPECT_EQ(item().lightingEffectsBrightness(), 10);
}

TEST_F(BleParserTest, KeysWithKeySetting)
{
    state->setIsSupportKeySetting(true);
    feed("4d33004c");
    feed("4d49004c");
    feed("4d35004c");
    EXPECT_EQ(fakes.voice.pressTypes, (std::vector<int>{51, 66, 55}));
    EXPECT_EQ(writes(), (QByteArrayList{kAck, kAck, kAck}));
}

TEST_F(BleParserTest, KeysWithoutKeySetting)
{
    state->setIsSupportKeySetting(false);
    const struct {
        const char *what;
        const char *event;
        bool running, translating;
        const char *write; // after the acknowledgement; "" none
        int pressType;
    } rows[] = {
        {"toggle starts typing", "33", false, false, "4d04624c", 33},
        {"toggle stops typing", "33", true, false, "4d04634c", 34},
        {"toggle starts translating", "42", false, true, "4d04624c", 37},
        {"toggle stops translating", "42", true, true, "4d04634c", 38},
        {"search down", "31", false, false, "4d04624c", 35},
        {"search up", "32", true, false, "4d04634c", 36},
        {"voice down", "37", false, false, "4d04624c", 33},
        {"voice down translating", "44", false, true, "4d04624c", 37},
        {"voice up translating", "45", true, true, "4d04634c", 38},
        {"voice up", "38", true, false, "4d04634c", 34},
        {"unmapped key", "46", false, false, "", 99},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.what);
        adapter.writes.clear();
        mgr.setPressType(99);
        fakes.keys.setHadStart(r.running);
        fakes.keys.setIsTranslate(r.translating);
        feed(QByteArray("4d") + r.event + "004c");
        QByteArrayList expected{kAck};
        if (*r.write)
            expected << r.write;
        EXPECT_EQ(writes(), expected);
        EXPECT_EQ(mgr.pressType(), r.pressType);
        EXPECT_TRUE(fakes.voice.pressTypes.empty()); // the device's voice events report them
    }
}

TEST_F(BleParserTest, VoiceStartAndEndHandOnThePressType)
{
    state->setIsSupportKeySetting(false);
    fakes.keys.setHadStart(false);
    feed("4d33004c"); // microphone on, press type 33
    feed("4d5a004c");
    EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{33});
    feedBytes(QByteArray(30, '\x11'));
    fakes.keys.setHadStart(true);
    feed("4d33004c"); // microphone off, press type 34
    adapter.writes.clear();
    feed("4d00004c");
    EXPECT_EQ(writes(), QByteArrayList{kAck});
    EXPECT_FALSE(mgr.isStartVoice());
    EXPECT_EQ(fakes.voice.pressTypes, (std::vector<int>{33, 34}));
    ASSERT_EQ(chunks.size(), 1);
    EXPECT_EQ(chunks[0], std::make_pair(false, QByteArray(30, '\x11')));
    EXPECT_TRUE(mgr.encodeData().isEmpty());
}

TEST_F(BleParserTest, ModeSwitchKey)
{
    state->setIsSupportKeySetting(false);
    fakes.keys.setPressType(34);
    feed("4d40004c");
    EXPECT_TRUE(fakes.keys.isTranslate());
    feed("4d43004c");
    EXPECT_FALSE(fakes.keys.isTranslate());
    // Not while the voice key is down.
    fakes.keys.setPressType(37);
    feed("4d40004c");
    EXPECT_FALSE(fakes.keys.isTranslate());
    using Tip = std::pair<QString, QString>;
    EXPECT_EQ(fakes.tips.tips,
              (std::vector<Tip>{{"切换到翻译模式", "laserPen_icon-7"}, {"切换到打字模式", "laserPen_icon-6"}}));
}

TEST_F(BleParserTest, PointerKeys)
{
    // The voice-mode key cycles 1, 2, 3, 1 and shows the new mode; 0 or 5 restart at 1.
    fakes.keys.setVioceMode(1);
    feed("4d9b004c");
    EXPECT_EQ(fakes.keys.vioceMode(), 2);
    EXPECT_EQ(fakes.tips.tips.back(),
              std::make_pair(QStringLiteral("切换到翻译模式"), QStringLiteral("laserPen_icon-7")));
    feed("4d9b004c");
    EXPECT_EQ(fakes.tips.tips.back(),
              std::make_pair(QStringLiteral("切换到投屏模式"), QStringLiteral("laserPen_icon-2")));
    feed("4d9b004c");
    EXPECT_EQ(fakes.keys.vioceMode(), 1);
    EXPECT_EQ(fakes.log.count("cancelAsr"), 3);
    for (int stored : {0, 5}) {
        fakes.keys.setVioceMode(stored);
        feed("4d9b004c");
        EXPECT_EQ(fakes.keys.vioceMode(), 1);
    }

    // The voice key starts or stops by whether a voice input runs, in the mode's press type.
    const struct {
        int mode;
        bool running;
        const char *write;
        int code;
    } keys[] = {{1, false, "4d04624c", 33},
                {1, true, "4d04634c", 34},
                {3, false, "4d04624c", 37},
                {2, true, "4d04634c", 38},
                {7, false, "4d04624c", 0}};
    for (const auto &k : keys) {
        adapter.writes.clear();
        fakes.voice.pressTypes.clear();
        fakes.keys.setVioceMode(k.mode);
        fakes.keys.setHadStart(k.running);
        feed("4d9a004c");
        EXPECT_EQ(writes(), (QByteArrayList{kAck, k.write})) << k.mode;
        EXPECT_EQ(mgr.pressType(), k.code);
        EXPECT_EQ(fakes.voice.pressTypes, std::vector<int>{k.code});
    }

    // The search key: down 35 and up 36, both as press type and as code.
    fakes.voice.pressTypes.clear();
    adapter.writes.clear();
    feed("4d9c004c");
    EXPECT_EQ(mgr.pressType(), 35);
    feed("4d9d004c");
    EXPECT_EQ(mgr.pressType(), 36);
    EXPECT_EQ(fakes.voice.pressTypes, (std::vector<int>{35, 36}));
    EXPECT_EQ(writes(), (QByteArrayList{kAck, "4d04624c", kAck, "4d04634c"}));

    // Overlay keys.
    fakes.log.clear();
    fakes.laserPen.showing = false;
    feed("4d92004c");
    feed("4d92004c");
    feed("4d93004c");
    fakes.laserPen.showing = true;
    feed("4d93004c");
    feed("4d90004c");
    EXPECT_EQ(fakes.log.calls,
              (QStringList{"showLaserPenEffect", "dismissEffect", "dismissEffect", "changeLaserPenStatus(0)"}));
}

TEST_F(BleParserTest, FirmwareRepliesPaceTheTransfer)
{
    startTransfer(300);         // three packets
    mgr.setCurrentOTAIndex(40); // left from an earlier transfer: the accepted start resets it

    QList<qint64> indexes;
    for (const char *reply : {"4d70004c", "4d71004c", "4d71004c"}) { // start accepted, then packets 0 and 1
        feed(reply);
        indexes << mgr.currentOTAIndex();
    }
    EXPECT_EQ(indexes, (QList<qint64>{0, 1, 2}));
    EXPECT_EQ(firmwareWrites(), 3);
    EXPECT_EQ(writes().count(kAck), 3); // every reply is acknowledged
    feed("4d70014c");                   // a start refused in the middle of the packets: nothing more
    EXPECT_EQ(firmwareWrites(), 3);
    EXPECT_EQ(mgr.currentOTAIndex(), 2);

    // A refused packet ends the transfer with the end frame on the firmware channel.
    mgr.setOtaDataTotalLength(300);
    mgr.setOtaDataChecksum(33586);
    adapter.writes.clear();
    feed("4d71024c");
    ASSERT_EQ(adapter.writes.size(), 2);
    EXPECT_EQ(adapter.writes[1].data.toHex(), "4d0c722c010000328300004c");
    EXPECT_EQ(adapter.writes[1].characteristic.characteristic,
              platform::normalizedBleUuid(sim::SimBleMouse::kOtaWrite));

    feed("4d72014c"); // the mouse fails the image
    feed("4d74004c"); // that transfer is over: a late cancel answer posts nothing
    EXPECT_EQ(notes.firmwareEnds(), QStringList{notify::kUpdateOTAFailNotification});

    startTransfer();
    feed("4d74004c");
    EXPECT_EQ(notes.firmwareEnds(), QStringList{notify::kUpdateOTACancelNotification});
    EXPECT_FALSE(mgr.firmwareTransfer().isOTATransferActive());
    EXPECT_EQ(adapter.callCount("cancel("), 0);
}

TEST_F(BleParserTest, AcceptedFirmwareDropsTheLinkAndScansAgainOnce)
{
    startTransfer(100); // one packet
    const int scans = adapter.callCount("scan");
    feed("4d70004c");
    feed("4d71004c"); // the end frame goes out
    EXPECT_EQ(adapter.callCount("cancel("), 0);

    feed("4d72004c");
    EXPECT_EQ(notes.firmwareEnds(), QStringList{notify::kUpdateOTASuccessNotification});
    EXPECT_EQ(notes.count(notify::kBleDisConnectNotification), 1);
    EXPECT_EQ(adapter.callCount("cancel("), 1);
    EXPECT_FALSE(app.bleConnect);
    sched.runDue();
    EXPECT_EQ(adapter.callCount("scan"), scans + 1); // at once

    // Further confirmations come after the transfer ended: no second result, no
    // second drop, and no scan beyond the one within the second.
    feed("4d72004c");
    feed("4d72004c");
    sched.advance(1000);
    EXPECT_EQ(pendingDelayInvocationGroups(), 0);
    EXPECT_EQ(notes.firmwareEnds(), QStringList{notify::kUpdateOTASuccessNotification});
    EXPECT_EQ(adapter.callCount("cancel("), 1);
    EXPECT_EQ(adapter.callCount("scan"), scans + 1);
}

TEST_F(BleParserTest, FirmwareLookalikesDuringVoiceAreVoice)
{
    // No transfer runs: a voice packet that happens to read "4d 72 ... 4c" is voice,
    // not the mouse accepting a firmware image (which would drop the link).
    feed("4d5a004c");
    adapter.writes.clear();
    const QByteArray lookalike = QByteArray::fromHex("4d72") + QByteArray(36, '\x21') + QByteArray::fromHex("4c");
    feedBytes(lookalike);
    feed("4d704c"); // too short for a frame: voice as well
    EXPECT_TRUE(writes().isEmpty());
    EXPECT_TRUE(notes.names().isEmpty());
    EXPECT_EQ(adapter.callCount("cancel("), 0);
    EXPECT_EQ(mgr.encodeData(), lookalike + QByteArray::fromHex("4d704c"));

    // Other events in a stream are still frames (the battery poll's answer, say).
    feed("4d8500034c");
    EXPECT_EQ(writes(), QByteArrayList{kAck});

    // While a transfer runs the same bytes are the firmware reply.
    startTransfer();
    feed("4d74004c");
    EXPECT_EQ(notes.count(notify::kUpdateOTACancelNotification), 1);
}

} // namespace
