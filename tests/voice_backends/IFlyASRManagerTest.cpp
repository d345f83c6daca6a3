// The vendor SDK's recogniser manager over a fake SDK: what reaches the SDK in which
// state, and which results reach the main thread.
#include "asr/IFlyASRManager.h"
#include "FakeAsrSdkEngine.h"
#include "MainThread.h"
#include "TempDataRoot.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

class Vox7SdkRecogniser : public DataRootTest {
protected:
    FakeAsrSdkEngine engine;
};

TEST_F(Vox7SdkRecogniser, CallsReachTheSdkOnlyWhileTheyMeanSomething)
{
    IFlyASRManager m(engine);
    EXPECT_TRUE(engine.config.workDir.startsWith(root.path()) && QDir(engine.config.workDir).exists());
    engine.calls.clear();

    m.configureAsrWithRlang(QString(), false); // keeps the language
    m.configureAsrWithRlang(QStringLiteral("zh-hk"), true);
    EXPECT_TRUE(m.stopAsr()); // idle: the SDK is not asked
    m.sendPcmData(QByteArray(4, 'a'));
    EXPECT_TRUE(m.startAsr());
    m.sendPcmData(QByteArray(6, 'b'));
    EXPECT_TRUE(m.startAsr()); // the running recognition is stopped first
    EXPECT_TRUE(m.stopAsr());
    m.sendPcmData(QByteArray(8, 'c'));
    engine.startResult = 5;
    EXPECT_FALSE(m.startAsr());
    EXPECT_FALSE(m.isAsrRunning());
    EXPECT_EQ(engine.calls,
              QStringList({"ptt 0", "rlang zh-hk", "ptt 1", "start", "write 6", "stop 0", "start", "stop 0", "start"}));

    // An SDK that failed to initialise or to make a recogniser is never asked again.
    for (const bool initFails : {true, false}) {
        FakeAsrSdkEngine broken;
        broken.initResult = initFails;
        broken.makesRecogniser = false;
        IFlyASRManager b(broken);
        b.configureAsrWithRlang(QStringLiteral("zh-hk"), true);
        b.sendPcmData(QByteArray(4, 'a'));
        EXPECT_FALSE(b.startAsr());
        EXPECT_EQ(broken.calls, initFails ? QStringList({"init"}) : QStringList({"init", "create"}));
    }
}

TEST_F(Vox7SdkRecogniser, ResultsReachTheMainThreadUntilShutdown)
{
    IFlyASRManager m(engine);
    std::vector<std::pair<int, QString>> results;
    m.setRecognitionResultBlock([&](int status, const QString &text) {
        EXPECT_TRUE(isMainThread());
        results.emplace_back(status, text);
    });
    ASSERT_TRUE(m.startAsr());
    std::thread([h = engine.handler()] {
        h(0, QStringLiteral("你"));
        h(1, QString()); // the SDK had no text
    }).join();
    EXPECT_TRUE(results.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(results, (std::vector<std::pair<int, QString>>{{0, u"你"_qs}, {1, QString()}}));

    // Neither a result still on its way at shutdown nor a later one is delivered.
    const platform::IAsrSdkEngine::ResultHandler late = engine.handler();
    late(2, QStringLiteral("你好"));
    engine.calls.clear();
    m.shutdownSparkChainBeforeTermination();
    m.shutdownSparkChainBeforeTermination();
    late(2, QStringLiteral("你好"));
    QCoreApplication::processEvents();
    EXPECT_EQ(results.size(), 2u);
    EXPECT_EQ(engine.calls, QStringList({"stop 0", "uninit"}));
    EXPECT_FALSE(engine.handler());
    EXPECT_FALSE(m.startAsr());
}

} // namespace
