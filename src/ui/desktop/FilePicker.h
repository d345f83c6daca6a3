#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class IAppShell;

// Asks the user for a file or folder. The answer comes later, on the main thread:
// the absolute local path, or nullopt when the user cancelled.
class FilePicker {
public:
    enum class Mode {
        FileOrFolder, // one existing file, or one folder
        Folder,       // one existing folder
        ExistingFile, // one existing file
        SaveFile,     // a file name to save under (it may exist)
    };
    struct Request {
        Mode mode = Mode::ExistingFile;
        QString prompt;          // the accept button's text ("" : the dialog's own)
        QStringList nameFilters; // e.g. "*.wav *.mp3"; none: every file
        QString suggestedName;   // save: the name filled in
        QString directory;       // where it opens ("": the last place)
        // The window the dialog belongs to (nullptr: the main window). It closes with
        // that window, and is then never answered.
        QWidget *parent = nullptr;
    };
    using Done = std::function<void(const std::optional<QString> &path)>;

    virtual ~FilePicker() = default;
    virtual void pick(const Request &request, Done done) = 0;
};

// The picker of the application: Qt's own (non-native) file dialog, window-modal on
// the main window (application-modal while there is none), so every desktop shows
// the same dialog and tests can drive it.
class DialogFilePicker : public FilePicker {
public:
    explicit DialogFilePicker(IAppShell *shell) : m_shell(shell) {}
    void pick(const Request &request, Done done) override;

    // The dialog of a request, not yet shown; its parent is the request's window, else
    // the main window.
    QFileDialog *makeDialog(const Request &request) const;

private:
    IAppShell *m_shell;
};

// A file dialog in which the accept button also takes the selected folder, for "one
// file or one folder": Qt's file modes offer one or the other. A double click still
// enters a folder.
class FileOrFolderDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit FileOrFolderDialog(QWidget *parent = nullptr);
    // The folder taken by the accept button; "" when a file was chosen.
    QString chosenFolder() const { return m_folder; }

public slots:
    void accept() override;

private:
    QString m_folder;
};
