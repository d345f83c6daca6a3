#include "aiweb/AiDownloadFlow.h"

#include "DataPaths.h"
#include "PZLog.h"
#include "aiweb/AiDownloadRules.h"
#include "desktop/FilePicker.h"
#include "services/AlertPresenter.h"
#include "services/IPopupTips.h"
#include "services/LanguageHooks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>

AiDownloadFlow::AiDownloadFlow(Deps deps) : m_deps(std::move(deps)) {}

void AiDownloadFlow::tip(const QString &text, const QString &image)
{
    if (m_deps.tips)
        m_deps.tips->showTipMessage(text, image);
}

QString AiDownloadFlow::destination(const platform::IAiWebHost::Download &download)
{
    // A page that starts downloads faster than anyone saves them fills no disk and
    // opens no pile of dialogs.
    if (m_running.size() + m_waiting.size() >= kMaxPending) {
        if (!std::exchange(m_refusing, true))
            writeLog(QStringLiteral("download refused: %1 already wait to be saved").arg(kMaxPending));
        return {};
    }
    m_refusing = false;
    const QString name = aiweb::downloadFileName(download.suggestedName, download.mimeType, download.url,
                                                 m_deps.timeStamp ? m_deps.timeStamp() : QString());
    const QString dir = download.fromLink ? linkFolder() : m_deps.documentsDir;
    if (dir.isEmpty())
        return {};
    if (!QDir().mkpath(dir)) {
        writeLog(QStringLiteral("download: cannot make %1").arg(dir));
        return {};
    }
    const auto path = aiweb::reserveUnusedPath(dir, name);
    if (!path) {
        writeLog(QStringLiteral("download: no file for %1 in %2").arg(name, dir));
        return {};
    }
    m_running[download.id] = {download.mimeType, name, *path};
    writeLog(QStringLiteral("download:%1 -> %2").arg(download.url.toString(), name));
    return *path;
}

QString AiDownloadFlow::linkFolder() const
{
    // The file waits there for the save dialog: in a folder anyone could enter, another
    // user could read it or swap it for one of theirs before it is copied.
    QString why;
    const QString dir = DataPaths::ensurePrivateDir(m_deps.tempDir, &why);
    if (dir.isEmpty())
        writeLog(
            QStringLiteral("download refused: %1 is not a folder of this user's alone (%2)").arg(m_deps.tempDir, why));
    return dir;
}

bool AiDownloadFlow::inLinkFolder(const QString &path) const
{
    return QFileInfo(path).absolutePath() == QFileInfo(m_deps.tempDir).absoluteFilePath();
}

void AiDownloadFlow::changed(const platform::IAiWebHost::DownloadUpdate &update)
{
    using State = platform::IAiWebHost::DownloadUpdate::State;
    const auto it = m_running.find(update.id);
    if (it == m_running.end())
        return;
    switch (update.state) {
    case State::Progress:
        if (const auto text = aiweb::progressTip(update.received, update.total))
            tip(*text, QStringLiteral("download"));
        break;
    case State::Finished: {
        const Running done = it->second;
        m_running.erase(it);
        tip(localizedText(QStringLiteral("已下载%1%")).arg(100), QStringLiteral("download"));
        // The file is the one this flow named: the engine's report of where it went is
        // not believed, as saving moves the file it names.
        if (update.path != done.path)
            writeLog(
                QStringLiteral("download %1 reported at %2, kept at %3").arg(update.id).arg(update.path, done.path));
        if (inLinkFolder(done.path))
            QFile::setPermissions(done.path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        m_waiting.push_back(done);
        saveNext();
        break;
    }
    case State::Failed:
        // The file made for it holds nothing of the user's.
        QFile::remove(it->second.path);
        m_running.erase(it);
        writeLog(QStringLiteral("download failed: %1").arg(update.error));
        if (m_deps.alerts)
            m_deps.alerts->showAlert(localizedText(QStringLiteral("下载出错")) + QLatin1Char('\n') + update.error,
                                     {localizedText(QStringLiteral("确定"))}, [](int) {});
        break;
    }
}

void AiDownloadFlow::saveNext()
{
    if (!m_deps.files) {
        // No one to ask: the downloads stay where they are.
        m_waiting.clear();
        return;
    }
    if (m_saving || m_waiting.empty())
        return;
    m_saving = m_waiting.front();
    m_waiting.pop_front();
    FilePicker::Request request;
    request.mode = FilePicker::Mode::SaveFile;
    request.suggestedName = m_saving->name;
    request.directory = m_deps.documentsDir;
    request.parent = m_deps.dialogParent;
    m_deps.files->pick(request, [this, alive = std::weak_ptr<int>(m_alive)](const std::optional<QString> &chosen) {
        if (alive.expired())
            return;
        saved(chosen);
        saveNext();
    });
}

void AiDownloadFlow::saved(const std::optional<QString> &chosen)
{
    const Running done = *std::exchange(m_saving, std::nullopt);
    const QString &source = done.path;
    const QString &mimeType = done.mimeType;
    // Cancelled: a download in the data root stays there; a link's goes with its dialog.
    if (!chosen || chosen->isEmpty()) {
        if (inLinkFolder(source))
            QFile::remove(source);
        return;
    }
    const QString target = *chosen;
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(source).absoluteFilePath()) {
        const auto [text, image] = aiweb::saveTip(mimeType, true, {});
        tip(text, image);
        return;
    }
    // Copy beside the target, then replace it in one step: the user's file is
    // never gone before the copy is whole.
    const QString part = target + QStringLiteral(".part-") + QUuid::createUuid().toString(QUuid::Id128).left(8);
    QFile in(source);
    QString error;
    if (!in.copy(part))
        error = in.errorString();
    else if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0)
        error = QString::fromLocal8Bit(std::strerror(errno));
    if (!error.isEmpty())
        QFile::remove(part);
    const auto [text, image] = aiweb::saveTip(mimeType, error.isEmpty(), error);
    tip(text, image);
    if (error.isEmpty())
        QFile::remove(source);
}
