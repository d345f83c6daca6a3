#pragma once

#include "platform/IAiWebHost.h"

#include <QString>

#include <functional>
#include <map>

class AlertPresenter;
class FilePicker;
class IPopupTips;

// The AI page's downloads from start to the user's file: where each goes while it
// runs (a link's download to a folder of the user's alone, 0700, its file 0600; any
// other under an unused name in the data root, never over a file there), the progress
// tips, and once it is complete the save dialog. The chosen file is replaced only by a
// complete copy, and the download is deleted only after that copy succeeded: a failed
// copy keeps it, and so does a cancelled dialog in the data root (a link's download
// goes with its cancelled dialog). Main thread.
class AiDownloadFlow {
public:
    struct Deps {
        IPopupTips *tips = nullptr;
        FilePicker *files = nullptr;
        AlertPresenter *alerts = nullptr;
        QString documentsDir; // the data root
        QString tempDir;      // the links' folder
        std::function<QString()> timeStamp;
    };

    explicit AiDownloadFlow(Deps deps);

    QString destination(const platform::IAiWebHost::Download &download);
    void changed(const platform::IAiWebHost::DownloadUpdate &update);

private:
    // The links' folder, made when missing; "" (logged) when it is not the user's alone.
    QString linkFolder() const;
    bool inLinkFolder(const QString &path) const;
    void tip(const QString &text, const QString &image);
    void save(const QString &source, const QString &mimeType, const QString &name);

    struct Running {
        QString mimeType;
        QString name;
        QString path; // where the download was told to go
    };
    Deps m_deps;
    std::map<quint32, Running> m_running;
};
