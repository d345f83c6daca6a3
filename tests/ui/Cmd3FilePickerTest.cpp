// The file picker's real dialog, offscreen: window-modal on the main window, the
// mode of each request, and a folder taken where a file may also be chosen.
#include "FakeNeighbours.h"
#include "desktop/FilePicker.h"

#include <QTest>

#include <gtest/gtest.h>

TEST(Cmd3FilePicker, ARealDialogAnswersWithTheChosenFileOrFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Music"));
    QFile(dir.filePath("a.txt")).open(QIODevice::WriteOnly);
    QWidget window;
    window.show();
    FakeAppShell shell;
    shell.mainWindow = &window;
    DialogFilePicker picker(&shell);

    const struct {
        FilePicker::Mode mode;
        const char *choose;
        QFileDialog::FileMode fileMode;
        bool dirsOnly;
    } rows[] = {
        {FilePicker::Mode::FileOrFolder, "Music", QFileDialog::ExistingFile, false},
        {FilePicker::Mode::FileOrFolder, "a.txt", QFileDialog::ExistingFile, false},
        {FilePicker::Mode::Folder, "Music", QFileDialog::Directory, true},
    };
    for (const auto &r : rows) {
        std::optional<QString> answer;
        int answers = 0;
        picker.pick({r.mode, "打开", {}, {}, dir.path()}, [&](const std::optional<QString> &path) {
            answer = path;
            ++answers;
        });
        auto *dialog = window.findChild<QFileDialog *>();
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
        EXPECT_EQ(dialog->fileMode(), r.fileMode);
        EXPECT_EQ(dialog->testOption(QFileDialog::ShowDirsOnly), r.dirsOnly);
        EXPECT_EQ(dialog->labelText(QFileDialog::Accept), "打开");
        dialog->selectFile(dir.filePath(r.choose));
        QMetaObject::invokeMethod(dialog, "accept");
        EXPECT_EQ(answers, 1);
        EXPECT_EQ(answer, dir.filePath(r.choose)) << r.choose;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(window.findChild<QFileDialog *>()) << "a closed dialog goes";
    }

    std::optional<QString> cancelled = "x";
    picker.pick({}, [&](const std::optional<QString> &path) { cancelled = path; });
    window.findChild<QFileDialog *>()->reject();
    EXPECT_EQ(cancelled, std::nullopt);
}
