// The audio-file transcription page over a temporary job table, a recording speech
// service and the page world's pickers and alerts; and once end to end through the
// real speech service to the local speech server, with a WAV that espeak-ng speaks.
#include "FakeDesktop.h"
#include "LocalSpeechServer.h"
#include "PageWorld.h"
#include "TempDataRoot.h"

#include "QXBLEMouseCommandManager.h"
#include "QXHidCommandManager.h"
#include "QXLanguageManager.h"
#include "QXMouseCommandManager.h"
#include "QXTransferAudioView.h"
#include "asr/QXAudioFileTranscription.h"
#include "asr/QXWebApiAsrService.h"
#include "controls/QXButton.h"
#include "controls/QXTextField.h"
#include "sqlite/WQSSqliteOperation.h"
#include "views/RWProgressView.h"
#include "views/RowList.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kTable = QString::fromLatin1(QXTransferAudioView::kTableName);

// Records what the page asks of the speech service, in order.
struct RecordingSpeech : IAsrService {
    QStringList calls;
    void beginAsrIsTransferAudio(bool transfer, ResultBlock) override
    {
        calls << QStringLiteral("begin:%1").arg(transfer);
    }
    void endAsr() override {}
    void cancelAsr() override {}
    // The page's own registration (each cell registers itself too).
    void addStatusListener(ISpeechStatusListener *l) override
    {
        if (dynamic_cast<QXTransferAudioView *>(l))
            calls << QStringLiteral("add");
    }
    void removeStatusListener(ISpeechStatusListener *) override {}
    bool isSocketOpen() const override { return false; }
};

class Cmd6Transfer : public ::testing::Test {
protected:
    QXTransferAudioView::Deps deps()
    {
        QXTransferAudioView::Deps d;
        d.speech = &speech;
        d.transferAudio = [this](const QString &path, const QXTransferAudioModel &job) {
            speech.calls << QStringLiteral("transfer:") + path;
            sent = job;
        };
        d.table = &table;
        d.state = &world.state();
        d.errors = &world.ports;
        d.files = &world.files;
        d.revealer = &revealer;
        d.root = root.path();
        d.clock = &world.scheduler.clock();
        return d;
    }
    QString folder() const { return root.file(QStringLiteral("TransferAudio")); }
    static void touch(const QString &path) { QFile(path).open(QIODevice::WriteOnly); }
    QList<QXTransferAudioModel> rows() { return table.selectAllDataBaseWithtableName<QXTransferAudioModel>(kTable); }
    QStringList errors() { return world.log.calls.filter(QStringLiteral("showErrorMsg")); }

    TempDataRoot root;
    PageWorld world;
    WQSSqliteOperation table{root.file(QStringLiteral("jobs.sqlite"))};
    RecordingSpeech speech;
    FakeFileRevealer revealer;
    QXTransferAudioModel sent;
    QXTransferAudioView page{deps()};
};

TEST_F(Cmd6Transfer, ListingKeepsTranscriptsThatExistAndTheRunningJob)
{
    EXPECT_TRUE(page.dataArray().isEmpty()) << "a fresh database lists nothing";
    QCoreApplication::processEvents(); // the table is made on the next turn
    const auto row = [](const char *id, const QString &path, int status) {
        QXTransferAudioModel m;
        m.idStr = QString::fromLatin1(id), m.path = path, m.status = status;
        return m;
    };
    touch(root.file("a.txt"));
    table.insertDataBaseWithtableName(kTable, row("1", root.file("a.txt"), 1), nullptr);
    table.insertDataBaseWithtableName(kTable, row("2", root.file("gone.txt"), 1), nullptr);
    page.startTransferAudio(); // running, its transcript not written yet
    table.insertDataBaseWithtableName(kTable, row("8", root.file("other.txt"), 0), nullptr);
    page.getTransferList();
    ASSERT_EQ(page.dataArray().size(), 2);
    EXPECT_EQ(page.dataArray()[0].idStr, "1");
    EXPECT_EQ(page.dataArray()[1].idStr, page.currentTransferAudioModel()->idStr);
    EXPECT_TRUE(page.cell(1)->progressBtn()->isVisibleTo(page.cell(1)));
    EXPECT_FALSE(page.cell(1)->openBtn()->isVisibleTo(page.cell(1)));
}

TEST_F(Cmd6Transfer, ButtonsAskForAPathAndPrepareWhereTheAudioGoes)
{
    page.startTransferBtnClicked();
    page.saveAsBtnClicked();
    EXPECT_EQ(errors(), QStringList(2, QStringLiteral("showErrorMsg(请输入音频路径…,)")));

    page.pathTextField()->setText(QStringLiteral("/home/u/a.b.mp3"));
    page.saveAsBtnClicked();
    ASSERT_EQ(world.files.asked.size(), 1u);
    EXPECT_EQ(world.files.asked[0].request.suggestedName, "a.b.mp3");
    world.files.answer(std::nullopt);
    EXPECT_EQ(page.outputPath(), "") << "a cancelled dialog changes nothing";

    page.startTransferBtnClicked();
    EXPECT_EQ(page.outputPath(), QDir(folder()).filePath("a.wav"));
    EXPECT_TRUE(QFileInfo(folder()).isDir());
    EXPECT_TRUE(speech.calls.isEmpty()) << "the start button only prepares";

    page.saveAsBtnClicked();
    world.files.answer(QStringLiteral("/tmp/out.wav"));
    EXPECT_EQ(page.outputPath(), "/tmp/out.wav");
    page.startTransferAudio();
    page.startTransferBtnClicked();
    EXPECT_EQ(errors().last(), "showErrorMsg(正在转写,请稍后...,)");
}

TEST_F(Cmd6Transfer, TranscriptNamesTakeTheFirstFreeNumber)
{
    QDir().mkpath(folder());
    const QDir dir(folder());
    const struct {
        const char *audio;
        QStringList existing;
        const char *transcript;
    } rows[] = {
        {"/x/B.wav", {}, "B.txt"},
        {"/x/B.wav", {"B.txt"}, "B_1.txt"},
        {"/x/B.wav", {"B.txt", "B_1.txt"}, "B_2.txt"},
        {"/x/a.b.c.mp3", {}, "a.txt"},
        {"/x/noext", {}, "noext.txt"},
        {"/x/.wav", {".txt"}, "_1.txt"},
        {"/x/录音 1.mp3", {}, "录音 1.txt"},
    };
    for (const auto &row : rows) {
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
            QFile::remove(dir.filePath(name));
        for (const QString &name : row.existing)
            touch(dir.filePath(name));
        EXPECT_EQ(QXTransferAudioView::transcriptPath(folder(), QString::fromUtf8(row.audio)),
                  dir.filePath(QString::fromUtf8(row.transcript)))
            << row.audio;
    }
}

TEST_F(Cmd6Transfer, AJobEndsOnlyWithItsOwnTranscription)
{
    QCoreApplication::processEvents();
    page.pathTextField()->setText(QStringLiteral("/x/B.mp3"));
    page.startTransferBtnClicked();
    page.startTransferAudio();
    EXPECT_EQ(speech.calls, (QStringList{"add", "transfer:" + page.outputPath(), "begin:1"}))
        << "the file is queued before the recognition starts";
    EXPECT_EQ(world.state().recordStatus(), 2);
    const QXTransferAudioModel job = *page.currentTransferAudioModel();
    EXPECT_EQ(sent, job);
    EXPECT_EQ(job.idStr, "1767268800");
    EXPECT_EQ(job.updateTime, "2026-01-01 12:00:00");

    QXTransferAudioCellView *cell = page.cell(0);
    ASSERT_TRUE(cell);
    QXTransferAudioModel other = job;
    other.idStr = QStringLiteral("1");
    cell->speechManagerRecognitionUpdateTransferProgress(0.3, other);
    other.idStr = QString();
    cell->speechManagerRecognitionUpdateTransferProgress(0.3, other);
    EXPECT_EQ(cell->progressBtn()->progress(), 0);
    cell->speechManagerRecognitionUpdateTransferProgress(0.5, job);
    EXPECT_EQ(cell->progressBtn()->progress(), 0.5);

    // A live recognition's end, and another job's, leave the job running.
    page.speechManagerRecognitionStatusChangeEndAsr(QStringLiteral("spoken"), true, nullptr);
    page.speechManagerRecognitionStatusChangeEndAsr(QStringLiteral("spoken"), true, &other);
    EXPECT_TRUE(page.currentTransferAudioModel());
    EXPECT_EQ(page.pathTextField()->text(), "/x/B.mp3");

    page.speechManagerRecognitionStatusChangeEndAsr(QStringLiteral("你好"), true, &job);
    QFile transcript(*job.path);
    ASSERT_TRUE(transcript.open(QIODevice::ReadOnly));
    EXPECT_EQ(transcript.readAll(), QStringLiteral("识别结果\n你好").toUtf8());
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows()[0].status, 1);
    EXPECT_EQ(rows()[0].result, "你好");
    EXPECT_FALSE(page.currentTransferAudioModel());
    EXPECT_EQ(page.outputPath(), "");
    EXPECT_EQ(page.pathTextField()->text(), "");
    EXPECT_EQ(world.state().recordStatus(), 0);
    EXPECT_TRUE(page.cell(0)->openBtn()->isVisibleTo(page.cell(0)));
    page.cell(0)->openBtnClicked();
    EXPECT_EQ(revealer.revealed, QStringList{*job.path});

    // A second job in the same second gets the next second; its end leaves the first row.
    world.state().setRecordStatus(2);
    page.startTransferAudio();
    const QXTransferAudioModel second = *page.currentTransferAudioModel();
    EXPECT_EQ(second.idStr, "1767268801");
    page.speechManagerRecognitionStatusChangeEndAsr(QString(), false, &second);
    ASSERT_EQ(rows().size(), 2);
    EXPECT_EQ(rows()[0].result, "你好");
    EXPECT_EQ(rows()[1].status, 2);
    // With no job running an end report changes nothing.
    page.pathTextField()->setText(QStringLiteral("/x/C.mp3"));
    page.speechManagerRecognitionStatusChangeEndAsr(QStringLiteral("x"), true, &second);
    EXPECT_EQ(page.pathTextField()->text(), "/x/C.mp3");
}

// Through the real speech service: the WAV goes out in chunks, progress reaches the
// cell, and the server's text ends up in the transcript.
TEST(Cmd6TransferEndToEnd, ASpokenFileBecomesATranscript)
{
    TempDataRoot root;
    PageWorld world;
    const QString wav = root.file(QStringLiteral("spoken.wav"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("espeak-ng"), {"-w", wav, "hello world"}), 0) << "espeak-ng";
    QXLanguageManager languages{world.data.store()};
    VoiceKeyState keys;
    QXHidCommandManager hid{DeviceSeams{&keys}};
    QXBLEMouseCommandManager ble{nullptr, nullptr, DeviceSeams{&keys}};
    QXMouseCommandManager facade{hid, ble};
    LocalSpeechServer server;
    server.onEnd({LocalSpeechServer::reply("FIN", "hello world"), LocalSpeechServer::reply("LAST", "")});
    QXWebApiAsrService::Deps speechDeps;
    speechDeps.state = &world.state();
    speechDeps.languages = &languages;
    speechDeps.device = &facade;
    speechDeps.keys = &keys;
    speechDeps.serviceBase = server.base();
    QXWebApiAsrService speech(std::move(speechDeps));
    WQSSqliteOperation table{root.file(QStringLiteral("jobs.sqlite"))};
    FakeFileRevealer revealer;
    QXTransferAudioView::Deps deps;
    deps.speech = &speech;
    deps.transferAudio = [&speech](const QString &path, const QXTransferAudioModel &job) {
        speech.fileTranscription().transferAudioWithFilePath(path, job);
    };
    deps.table = &table;
    deps.state = &world.state();
    deps.files = &world.files;
    deps.revealer = &revealer;
    deps.root = root.path();
    deps.clock = &world.scheduler.clock();
    QXTransferAudioView page(std::move(deps));
    QCoreApplication::processEvents();

    page.pathTextField()->setText(wav);
    page.saveAsBtnClicked();
    world.files.answer(wav);
    page.startTransferAudio();
    const QString transcript = *page.currentTransferAudioModel()->path;
    double seen = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            world.scheduler.advance(40);
            if (page.cell(0))
                seen = std::max(seen, page.cell(0)->progressBtn()->progress());
            return !page.currentTransferAudioModel();
        },
        10000));
    EXPECT_EQ(seen, 1.0);
    QFile file(transcript);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("识别结果\nhello world"));
    EXPECT_EQ(QFileInfo(wav).size(), server.audio().size()) << "the whole file went out";
    EXPECT_EQ(world.state().recordStatus(), 0);
}

} // namespace
