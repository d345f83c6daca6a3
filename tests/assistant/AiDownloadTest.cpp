// The AI page's downloads and outside links: names, tips, the save flow and the
// addresses that may reach the browser.
#include "FakeNeighbours.h"
#include "PZLog.h"
#include "RecordingAlertPresenter.h"
#include "ScriptedFilePicker.h"
#include "TempDataRoot.h"
#include "aiweb/AiDownloadFlow.h"
#include "aiweb/AiDownloadRules.h"
#include "desktop/FilePicker.h"
#include "drawing/NamedImage.h"
#include "popup/VoiceArtwork.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace aiweb;

namespace {

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(Ast4DownloadRules, TypesNamesAndTips)
{
    for (const char *type : {"application/vnd.oasis.opendocument.text", "attachment/file", "application/zip",
                             "image/png", "application/vnd.ms-excel; charset=binary"})
        EXPECT_TRUE(isDownloadMimeType(type)) << type;
    for (const char *type : {"application/pdf", "text/html", "image/gif"})
        EXPECT_FALSE(isDownloadMimeType(type)) << type;

    const QUrl notes("https://x.example/files/notes.md");
    const struct {
        QString suggested, mime;
        QUrl url;
        QString name;
    } rows[] = {
        {"Unknown", "attachment/file", notes, "1700000000.xlsx"},
        {"", "application/vnd.ms-word", notes, "1700000000.docx"},
        {"", "image/png", notes, "1700000000.png"},
        {"report.pdf", "image/png", notes, "report.pdf"},
        {"", "text/markdown", notes, "notes.md"},
        {"../../x", "", notes, "x"},
        {"a/b", "", notes, "b"},
        {"", "text/markdown", QUrl("https://x.example/dl?id=5"), "dl"},
        {"", "text/markdown", QUrl("https://x.example/"), "download"},
        {QString(300, 'n'), "text/markdown", notes, "notes.md"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(downloadFileName(r.suggested, r.mime, r.url, "1700000000"), r.name) << r.suggested.toStdString();

    EXPECT_EQ(progressTip(512, 2048), QStringLiteral("已下载25.00%"));
    EXPECT_FALSE(progressTip(51200, -1));
    EXPECT_FALSE(progressTip(0, 0));
    EXPECT_EQ(saveTip("application/vnd.ms-excel", true, {}).first, QStringLiteral("下载完成"));
    EXPECT_EQ(saveTip("image/png", true, {}),
              std::make_pair(QStringLiteral("导出完成"), QStringLiteral("success_icon")));
    EXPECT_EQ(saveTip("image/png", false, "disk full").first, QStringLiteral("导出失败，error=disk full"));
    EXPECT_EQ(saveTip("application/vnd.ms-excel", false, "e").first, QStringLiteral("下载失败，error=e"));
}

TEST(Ast4NewWindow, OnlyWebAddressesReachTheBrowser)
{
    using K = OutsideLink::Kind;
    const struct {
        QString url;
        K kind;
        QString opened;
    } rows[] = {
        {"https://ai.example.com/openurl?to=openBrowser_https://docs.example.org/a?b=1", K::Browser,
         "https://docs.example.org/a?b=1"},
        {"https://ai.example.com/page", K::Browser, "https://ai.example.com/page"},
        {"HTTP://ai.example.com/page", K::Browser, "http://ai.example.com/page"},
        {"mailto:a@b", K::Nothing, ""},
        {"javascript:alert('http://x')", K::Nothing, ""},
        {"file:///etc/passwd", K::Nothing, ""},
        {"https://x.example/openurl?openBrowser_javascript:alert(1)", K::Nothing, ""},
        {"https://x.example/openurl?openBrowser_file:///etc/passwd", K::Nothing, ""},
        {"https://www.maker.example/device/1", K::DevicePage, ""},
        // Schemes with a host: the scheme alone refuses them.
        {"ftp://host/x", K::Nothing, ""},
        {"smb://host/s", K::Nothing, ""},
        {"https://x.example/openurl?openBrowser_ftp://host/x", K::Nothing, ""},
    };
    for (const auto &r : rows) {
        const OutsideLink link = outsideLink(QUrl(r.url), "www.maker.example");
        EXPECT_EQ(link.kind, r.kind) << r.url.toStdString();
        EXPECT_EQ(link.url.toString(), r.opened) << r.url.toStdString();
    }
}

class Ast4SaveFlow : public ::testing::Test {
protected:
    Ast4SaveFlow()
    {
        AiDownloadFlow::Deps deps{&tips,       &files,      &alerts,
                                  root.path(), temp.path(), [] { return QStringLiteral("17"); }};
        flow = std::make_unique<AiDownloadFlow>(deps);
    }

    // A download that ran to its end: its file where the flow put it.
    QString finish(quint32 id, const QString &suggested, bool fromLink, const QByteArray &bytes)
    {
        const QString path =
            flow->destination({id, QUrl("https://x.example/f"), "application/vnd.ms-word", suggested, fromLink});
        write(path, bytes);
        flow->changed({id, platform::IAiWebHost::DownloadUpdate::State::Progress, 3, -1, {}, {}});
        flow->changed({id, platform::IAiWebHost::DownloadUpdate::State::Finished, 3, 3, path, {}});
        return path;
    }

    TempDataRoot root;
    QTemporaryDir temp;
    CallLog log;
    FakePopupTips tips{log};
    ScriptedFilePicker files;
    RecordingAlertPresenter alerts;
    std::unique_ptr<AiDownloadFlow> flow;
};

TEST_F(Ast4SaveFlow, SameNamedFileInTheDataRootSurvivesAndTheCopyReplacesTheTarget)
{
    write(root.path() + "/r.docx", "mine");
    const QString source = finish(1, "r.docx", false, "new");
    EXPECT_EQ(source, root.path() + "/r (1).docx");
    EXPECT_EQ(read(root.path() + "/r.docx"), "mine");
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked.back().request.suggestedName, "r.docx");
    // No percentage while the size was unknown; the finish tip.
    ASSERT_EQ(tips.tips.size(), 1u);
    EXPECT_EQ(tips.tips[0].first, QStringLiteral("已下载100%"));

    const QString target = temp.path() + "/chosen.docx";
    write(target, "old");
    files.answer(target);
    EXPECT_EQ(read(target), "new");
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(tips.tips.back(), std::make_pair(QStringLiteral("导出完成"), QStringLiteral("success_icon")));
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList({"chosen.docx"}));
}

TEST_F(Ast4SaveFlow, CancelAndFailedCopyKeepTheDownloadAndTheUsersFile)
{
    const QString linked = finish(1, "", true, "abc");
    EXPECT_TRUE(linked.startsWith(temp.path()));
    EXPECT_EQ(files.asked.back().request.suggestedName, "17.docx");
    files.answer(std::nullopt);
    EXPECT_FALSE(QFile::exists(linked)); // a link's download goes with its cancelled dialog

    const QString source = finish(2, "r.docx", false, "abc");
    const QString blocked = temp.path() + "/no-such-folder/r.docx";
    files.answer(blocked);
    EXPECT_EQ(read(source), "abc");
    EXPECT_EQ(tips.tips.back().second, QStringLiteral("error_icon"));

    // Saving over the user's file when the copy fails (the download went away meanwhile).
    const QString gone = finish(3, "g.docx", false, "abc");
    const QString users = temp.path() + "/mine.docx";
    write(users, "mine");
    QFile::remove(gone);
    files.answer(users);
    EXPECT_EQ(read(users), "mine");
    EXPECT_EQ(tips.tips.back().second, QStringLiteral("error_icon"));

    flow->destination({4, QUrl("https://x.example/g"), "image/png", "", false});
    flow->changed({4, platform::IAiWebHost::DownloadUpdate::State::Failed, 0, -1, {}, "network gone"});
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(alerts.shown[0].message.contains("network gone"));
}

// What the user sees of one download: every tip comes with its picture, not an empty card.
using FinDownloadTips = Ast4SaveFlow;

TEST_F(FinDownloadTips, ProgressFinishAndSaveTipsShowAPicture)
{
    using State = platform::IAiWebHost::DownloadUpdate::State;
    registerVoiceArtwork();
    const QString path = flow->destination({9, QUrl("https://x.example/f"), "image/png", "p.png", false});
    write(path, "png");
    flow->changed({9, State::Progress, 512, 2048, {}, {}});
    flow->changed({9, State::Finished, 2048, 2048, path, {}});
    files.answer(temp.path() + "/p.png");
    ASSERT_EQ(tips.tips.size(), 3u);
    EXPECT_EQ(tips.tips[0].first, QStringLiteral("已下载25.00%"));
    for (const auto &[text, image] : tips.tips)
        EXPECT_FALSE(namedImage(image).isNull()) << qPrintable(text) << " " << qPrintable(image);
}

TEST_F(Ast4SaveFlow, FinishedReportNamingAnotherFileSavesTheDownloadAndLeavesThatFile)
{
    const QString mine = temp.path() + "/mine.txt";
    write(mine, "mine");
    const QString path = flow->destination({5, QUrl("https://x.example/f"), "image/png", "p.png", false});
    write(path, "png");
    flow->changed({5, platform::IAiWebHost::DownloadUpdate::State::Finished, 3, 3, mine, {}});
    const QString target = temp.path() + "/chosen.png";
    files.answer(target);
    EXPECT_EQ(read(target), "png");
    EXPECT_EQ(read(mine), "mine");
    EXPECT_FALSE(QFile::exists(path));
}

// A page that starts many downloads of one name: each its own file, one save dialog at
// a time, a bound on those waiting, and a dialog that goes with the page's window.
using GuardSaveFlow = Ast4SaveFlow;

TEST_F(GuardSaveFlow, SameNamedDownloadsEachKeepTheirOwnFileAndAreSavedInTurn)
{
    QTemporaryDir chosen;
    std::vector<QString> paths;
    for (quint32 id = 1; id <= 30; ++id)
        paths.push_back(flow->destination({id, QUrl("https://x.example/f"), "image/png", "r.png", id % 2 == 0}));
    for (quint32 id = 1; id <= 30; ++id) {
        write(paths[id - 1], QByteArray::number(id));
        flow->changed({id, platform::IAiWebHost::DownloadUpdate::State::Finished, 1, 1, paths[id - 1], {}});
    }
    for (size_t n = 1; n <= 30; ++n) {
        ASSERT_EQ(files.asked.size(), n);
        files.answer(chosen.filePath(QString::number(n)));
        EXPECT_EQ(read(chosen.filePath(QString::number(n))), QByteArray::number(qulonglong(n)));
    }
    for (quint32 id = 100; id < 100 + AiDownloadFlow::kMaxPending; ++id)
        ASSERT_FALSE(flow->destination({id, QUrl("https://x.example/g"), "image/png", "g.png", true}).isEmpty());
    EXPECT_TRUE(flow->destination({999, QUrl("https://x.example/g"), "image/png", "g.png", true}).isEmpty());
}

TEST_F(GuardSaveFlow, TheSaveDialogGoesUnansweredWithThePagesWindow)
{
    auto window = std::make_unique<QWidget>();
    DialogFilePicker picker(nullptr);
    flow = std::make_unique<AiDownloadFlow>(
        AiDownloadFlow::Deps{&tips, &picker, &alerts, root.path(), temp.path(), {}, window.get()});
    const QString path = flow->destination({1, QUrl("https://x.example/f"), "image/png", "p.png", false});
    flow->changed({1, platform::IAiWebHost::DownloadUpdate::State::Finished, 1, 1, path, {}});
    ASSERT_TRUE(qobject_cast<QFileDialog *>(QApplication::activeModalWidget()));
    window.reset();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A link's download waits for its save dialog in a folder of the user's alone: made 0700,
// its file 0600; a folder open to others, a link to one or another user's is refused.
using GuardLinkFolder = Ast4SaveFlow;

TEST_F(GuardLinkFolder, LinkDownloadsWaitInAFolderOfTheUsersAlone)
{
    const auto flowIn = [&](const QString &dir) {
        flow = std::make_unique<AiDownloadFlow>(AiDownloadFlow::Deps{&tips, &files, &alerts, root.path(), dir, {}});
    };
    const QString links = temp.path() + "/links", others = temp.path() + "/others", link = temp.path() + "/link";
    flowIn(links);
    const QString linked = finish(1, "r.docx", true, "abc");
    EXPECT_EQ(QFileInfo(links).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(QFileInfo(linked).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    files.answer(std::nullopt);
    EXPECT_EQ(QDir(links).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());

    ::chmod(QFile::encodeName(links).constData(), 0755);
    QFile::link(root.path(), link);
    QStringList refused{links, link}, logged;
    const QByteArray other = QFile::encodeName(others);
    if (::geteuid() == 0 && ::mkdir(other.constData(), 0700) == 0 && ::chown(other.constData(), 65534, 65534) == 0)
        refused << others; // 0700 and someone else's
    setWriteLogHandler([&](const QString &line) { logged << line; });
    for (const QString &dir : refused) {
        flowIn(dir);
        EXPECT_EQ(flow->destination({2, QUrl("https://x.example/f"), "image/png", "p.png", true}), QString());
        EXPECT_EQ(logged.filter("download refused: " + dir + " is").size(), 1) << qPrintable(dir);
    }
    setWriteLogHandler(nullptr);
}
