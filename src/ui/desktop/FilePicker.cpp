#include "FilePicker.h"

#include "services/IAppShell.h"

#include <QFileInfo>

FileOrFolderDialog::FileOrFolderDialog(QWidget *parent) : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFile);
}

void FileOrFolderDialog::accept()
{
    const QStringList chosen = selectedFiles();
    if (chosen.size() == 1) {
        const QFileInfo info(chosen.first());
        if (info.isDir()) {
            m_folder = info.absoluteFilePath();
            QDialog::accept();
            return;
        }
    }
    m_folder.clear();
    QFileDialog::accept();
}

QFileDialog *DialogFilePicker::makeDialog(const Request &request) const
{
    QWidget *window = request.parent ? request.parent->window() : m_shell ? m_shell->window() : nullptr;
    QFileDialog *dialog = request.mode == Mode::FileOrFolder ? new FileOrFolderDialog(window) : new QFileDialog(window);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    switch (request.mode) {
    case Mode::FileOrFolder:
    case Mode::ExistingFile:
        dialog->setFileMode(QFileDialog::ExistingFile);
        break;
    case Mode::Folder:
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        break;
    case Mode::SaveFile:
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->selectFile(request.suggestedName);
        break;
    }
    if (!request.nameFilters.isEmpty())
        dialog->setNameFilters(request.nameFilters);
    if (!request.directory.isEmpty())
        dialog->setDirectory(request.directory);
    if (!request.prompt.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, request.prompt);
    dialog->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    return dialog;
}

void DialogFilePicker::pick(const Request &request, Done done)
{
    QFileDialog *dialog = makeDialog(request);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, done = std::move(done)](int result) {
        std::optional<QString> path;
        if (result == QDialog::Accepted) {
            auto *either = qobject_cast<FileOrFolderDialog *>(dialog);
            if (either && !either->chosenFolder().isEmpty())
                path = either->chosenFolder();
            else if (const QStringList files = dialog->selectedFiles(); !files.isEmpty())
                path = QFileInfo(files.first()).absoluteFilePath();
        }
        if (done)
            done(path);
    });
    dialog->open();
}
