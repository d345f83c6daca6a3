#pragma once

#include "platform/IAiWebHost.h"

#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class AlertPresenter;
class FilePicker;
class IPopupTips;
class QWidget;

// The AI page's downloads from start to the user's file: where each goes while it
// runs (a link's download to a folder of the user's alone, 0700, its file 0600; any
// other in the data root; each in a file of its own made for it, never over a file
// there), the progress tips, and once it is complete the save dialog, one at a time:
// the others wait their turn, and past a few waiting a new download is refused. The
// chosen file is replaced only by a complete copy, and the download is deleted only
// after that copy succeeded: a failed copy keeps it, and so does a cancelled dialog in
// the data root (a link's download goes with its cancelled dialog). The dialog belongs
// to the window the page is in and closes with it, unanswered. Main thread.
class AiDownloadFlow {
public:
    struct Deps {
        IPopupTips *tips = nullptr;
        FilePicker *files = nullptr;
        AlertPresenter *alerts = nullptr;
        QString documentsDir; // the data root
        QString tempDir;      // the links' folder
        std::function<QString()> timeStamp;
        QWidget *dialogParent = nullptr; // the page's window ("": the main window)
    };

    // Downloads running and finished ones waiting for their save dialog, at most.
    static constexpr size_t kMaxPending = 50;

    explicit AiDownloadFlow(Deps deps);

    QString destination(const platform::IAiWebHost::Download &download);
    void changed(const platform::IAiWebHost::DownloadUpdate &update);

private:
    // The links' folder, made when missing; "" (logged) when it is not the user's alone.
    QString linkFolder() const;
    bool inLinkFolder(const QString &path) const;
    void tip(const QString &text, const QString &image);
    void saveNext();
    void saved(const std::optional<QString> &chosen);

    struct Running {
        QString mimeType;
        QString name;
        QString path; // where the download was told to go
    };
    Deps m_deps;
    std::map<quint32, Running> m_running;
    std::deque<Running> m_waiting;   // finished, for the save dialog
    std::optional<Running> m_saving; // the one whose dialog is open
    bool m_refusing = false;         // said once until a download is taken again
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
