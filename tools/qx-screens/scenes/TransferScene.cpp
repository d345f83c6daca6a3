// The audio-file transcription page: a chosen file, two ended jobs with their open
// buttons and a running one with its ring.
#include "SceneWorld.h"

#include "DataPaths.h"
#include "FakeDesktop.h"
#include "QXTransferAudioView.h"
#include "controls/QXTextField.h"
#include "sqlite/WQSSqliteOperation.h"
#include "views/RWProgressView.h"

#include <QDir>
#include <QFile>

namespace {

// What the page stands on, for the life of the scene's window.
struct TransferWorld : QObject {
    explicit TransferWorld(const QString &root) : table(QDir(root).filePath(QStringLiteral("jobs.sqlite"))) {}
    WQSSqliteOperation table;
    FakeFileRevealer revealer;
};

QWidget *build(SceneWorld &world)
{
    const QString root = DataPaths::dataRoot();
    const QString folder = QDir(root).filePath(QStringLiteral("TransferAudio"));
    QDir().mkpath(folder);
    auto *w = new TransferWorld(root);
    const QString table = QString::fromLatin1(QXTransferAudioView::kTableName);
    w->table.createTableWithtableName<QXTransferAudioModel>(table);
    int id = 1767000000;
    for (const char *name : {"meeting-notes.txt", "interview with the product team, part 2.txt"}) {
        QXTransferAudioModel job;
        job.idStr = QString::number(id++);
        job.path = QDir(folder).filePath(QString::fromUtf8(name));
        job.status = 1;
        QFile(*job.path).open(QIODevice::WriteOnly);
        w->table.insertDataBaseWithtableName(table, job, nullptr);
    }

    QXTransferAudioView::Deps deps;
    deps.table = &w->table;
    deps.state = &world.state();
    deps.files = &world.pages().files;
    deps.revealer = &w->revealer;
    deps.root = root;
    deps.clock = &world.scheduler().clock();
    auto *page = new QXTransferAudioView(std::move(deps));
    w->setParent(page);
    page->resize(560, 360);
    page->pathTextField()->setText(world.option(QStringLiteral("file")));
    page->startTransferBtnClicked();
    page->startTransferAudio();
    if (QXTransferAudioCellView *running = page->cell(2))
        running->progressBtn()->setProgress(world.doubleOption(QStringLiteral("progress")));
    return page;
}

const SceneRegistrar reg(
    {QStringLiteral("transfer"),
     QStringLiteral("audio-file transcription page: two ended jobs and a running one"),
     {{QStringLiteral("file"), QStringLiteral("/home/user/Music/lecture.mp3"), QStringLiteral("the audio file chosen")},
      {QStringLiteral("progress"), QStringLiteral("0.6"), QStringLiteral("the running job's progress, 0 to 1")}},
     build});
} // namespace
