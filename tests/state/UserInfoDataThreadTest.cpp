#include "QXUserInfoData.h"
#include "ScopedUserInfoData.h"
#include "services/LanguageHooks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The speech pipeline reads the state from its own thread while the device layers
// write it on the main thread. Run under ThreadSanitizer this must report nothing.
TEST(UserInfoDataThreads, SpeechThreadReadsWhileTheMainThreadWrites)
{
    ScopedUserInfoData s;
    const LanguageHooks previous =
        installLanguageHooks({[] { return QStringLiteral("ZH_CN"); }, [] { return QStringLiteral("ZH_CN"); }, {}});

    std::atomic<bool> stop{false};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        QXUserInfoData &state = QXUserInfoData::sharedInstance();
        while (!stop.load()) {
            QString sink = state.appKey() + state.productCode() + state.region() + state.sno();
            sink += state.mouseInfoItem().sn() + state.mouseInfoItem().firmwareVersion();
            qint64 n = state.chipPlan() + state.samplingRate() + qint64(state.keyAction());
            n += state.isConnect() + state.bleConnect() + state.punctuationSwitch() + state.compatibleModeSwitch();
            n += state.isIFlyAsr() + state.isDisableDevice() + state.funcSwitch() + state.isLaser();
            n += state.laserPenVoiceFunctionIndex() + state.semanticSwitch();
            n += state.mouseInfoItem().vid() + qint64(state.mouseInfoItem().mouseSource());
            n += state.getMouseDpiArray().size();
            n += state.IFlytekChip_token().has_value() + state.xunFeiAppId().size();
            if (!sink.isNull() || n >= 0)
                reads.fetch_add(1);
        }
    });

    for (int i = 0; i < 2000; ++i) {
        s->setChipPlan(i % 8);
        s->setSamplingRate(i % 2);
        s->setKeyAction(quint64(i % 29));
        s->setMouseIsConnect(i % 2 == 0);
        s->setBleConnect(i % 3 == 0);
        s->setAppKey(QStringLiteral("K%1").arg(i));
        s->setRegion(i % 2 ? QStringLiteral("out") : QString());
        s->setSno(QStringLiteral("S%1").arg(i));
        s->setProductCode(i % 5 ? QStringLiteral("%1").arg(i) : QString());
        s->setPunctuationSwitch(i % 2 == 0);
        s->setLongVoiceModeSwitch(i % 4 == 0);
        s->setIFlytekChip_token(QStringLiteral("t%1").arg(i));
        s->setServiceDpiArr(i % 2 ? QStringList{QStringLiteral("800dpi")} : QStringList());
        s->setMouseDpiArrayWithType(i % 40);
        s->mouseInfoItem().setSn(QStringLiteral("SN%1").arg(i));
        s->mouseInfoItem().setVid(quint16(i));
        s->mouseInfoItem().setMouseSource(quint64(i % 3));
        s->mouseInfoItem().setMouseType(quint64(i));
        s->mouseInfoItem().setFirmwareVersion(QString::number(i));
    }
    // Make sure the reader really overlapped with the writes before stopping it.
    while (reads.load() < 100)
        std::this_thread::yield();
    stop = true;
    reader.join();
    installLanguageHooks(previous);
    EXPECT_GE(reads.load(), 100);
}
