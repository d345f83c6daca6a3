// Launch at login over real autostart files in a temporary XDG_CONFIG_HOME (and a
// temporary system folder in XDG_CONFIG_DIRS), and the installed launcher that must
// start the same program.
#include "launch/StartAtLoginController.h"

#include "platform/DesktopEntry.h"
#include "platform/linux/MultimediaBackends.h"
#include "platform/linux/XdgAutostartLoginItems.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kId = QStringLiteral("com.quorvex.HelperApp");
const QString kProgram = QStringLiteral("/opt/zandor/bin/quorvex-companion");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

// desktop-file-validate's complaints, empty when the file passes.
QString validate(const QString &path)
{
    const QString tool = QStringLiteral(QX_DESKTOP_FILE_VALIDATE);
    if (tool.isEmpty())
        return QStringLiteral("desktop-file-validate is not installed (Debian desktop-file-utils)");
    QProcess p;
    p.start(tool, {path});
    p.waitForFinished(30000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitCode() == 0 && !out.contains(QLatin1String("error")) ? QString() : out;
}

class StartAtLogin : public ::testing::Test {
protected:
    StartAtLogin() : m_oldHome(qgetenv("XDG_CONFIG_HOME")), m_oldDirs(qgetenv("XDG_CONFIG_DIRS"))
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("system"))));
        QObject::connect(&controller, &StartAtLoginController::aboutToChange,
                         [this](const QString &k) { events << QStringLiteral("will ") + k; });
        QObject::connect(&controller, &StartAtLoginController::changed,
                         [this](const QString &k) { events << QStringLiteral("did ") + k; });
    }
    ~StartAtLogin() override
    {
        qputenv("XDG_CONFIG_HOME", m_oldHome);
        qputenv("XDG_CONFIG_DIRS", m_oldDirs);
    }
    QString userEntry() const { return dir.filePath(QStringLiteral("config/autostart/%1.desktop").arg(kId)); }
    QString systemEntry() const { return dir.filePath(QStringLiteral("system/autostart/%1.desktop").arg(kId)); }
    QByteArray ourEntry(const QString &program = kProgram) const
    {
        return "[Desktop Entry]\nType=Application\nName=Zandor\nExec="
               + platform::desktopentry::execValue(program).toUtf8() + "\nX-GNOME-Autostart-enabled=true\n";
    }

    QTemporaryDir dir;
    platform::linuxbackend::XdgAutostartLoginItems items{QStringLiteral("Zandor")};
    StartAtLoginController controller{items};
    QStringList events;

private:
    QByteArray m_oldHome, m_oldDirs;
};

const QStringList kSetSequence{QStringLiteral("will startAtLogin"), QStringLiteral("will enabled"),
                               QStringLiteral("did enabled"), QStringLiteral("did startAtLogin")};

TEST_F(StartAtLogin, TurnsOnAndOffThroughTheRealFileAndAnnouncesEachChangeOnce)
{
    // Without an id, or without the program, nothing happens.
    EXPECT_FALSE(controller.startAtLogin());
    EXPECT_FALSE(controller.setStartAtLogin(true));
    controller.setBundle(kId, QString());
    EXPECT_FALSE(controller.setStartAtLogin(true));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_FALSE(QFile::exists(userEntry()));

    controller.setBundle(kId, kProgram);
    EXPECT_TRUE(controller.setStartAtLogin(true));
    EXPECT_EQ(events, kSetSequence);
    EXPECT_TRUE(controller.enabled());
    EXPECT_EQ(readAll(userEntry()), ourEntry());
    EXPECT_EQ(validate(userEntry()), QString());

    // A second controller finds it and announces the cached state's change once.
    StartAtLoginController other(items);
    other.setBundle(kId, kProgram);
    int otherSignals = 0;
    QObject::connect(&other, &StartAtLoginController::changed, [&] { ++otherSignals; });
    EXPECT_TRUE(other.startAtLogin());
    EXPECT_TRUE(other.startAtLogin());
    EXPECT_EQ(otherSignals, 1);

    events.clear();
    EXPECT_TRUE(controller.setStartAtLogin(false));
    EXPECT_EQ(events, kSetSequence);
    EXPECT_FALSE(controller.enabled());
    EXPECT_FALSE(QFile::exists(userEntry()));
}

TEST_F(StartAtLogin, ExecQuotesEveryCharacterTheShellOrTheFieldCodesWouldTake)
{
    const struct {
        QString program;
        QString exec; // as written in the file
    } rows[] = {
        {QStringLiteral("/tmp/my app/zan%dor"), QStringLiteral(R"("/tmp/my app/zan%%dor")")},
        {QStringLiteral(R"(/opt/say "hi"/x)"), QStringLiteral(R"("/opt/say \\"hi\\"/x")")},
        {QStringLiteral("/opt/$HOME/x"), QStringLiteral(R"("/opt/\\$HOME/x")")},
        {QStringLiteral(R"(/opt/back\slash)"), QStringLiteral(R"("/opt/back\\\\slash")")},
        {QStringLiteral("/opt/tick`x`/it's"), QStringLiteral(R"("/opt/tick\\`x\\`/it's")")},
        {QStringLiteral("/opt/tab\there"), QStringLiteral(R"("/opt/tab\there")")},
    };
    controller.setBundle(kId, {});
    for (const auto &row : rows) {
        SCOPED_TRACE(row.program.toStdString());
        controller.setBundle(kId, row.program);
        ASSERT_TRUE(controller.setStartAtLogin(true));
        EXPECT_TRUE(readAll(userEntry()).contains("\nExec=" + row.exec.toUtf8() + '\n'));
        EXPECT_EQ(validate(userEntry()), QString());
        // Read back, it names the same program.
        EXPECT_TRUE(items.isEnabled(kId, row.program));
    }
    // A path an entry cannot hold is refused, not written broken.
    controller.setBundle(kId, QStringLiteral("/opt/bell\a"));
    EXPECT_FALSE(controller.setStartAtLogin(true));
    EXPECT_FALSE(controller.enabled());
}

TEST_F(StartAtLogin, MalformedOrForeignEntriesReadAsOffAndAreReplacedOnEnable)
{
    const QByteArray ours = "Exec=" + platform::desktopentry::execValue(kProgram).toUtf8() + '\n';
    const struct {
        const char *what;
        QByteArray text;
    } rows[] = {
        {"not an entry", "hello\n"},
        {"not UTF-8", "[Desktop Entry]\nType=Application\nName=\xff\xfe\n" + ours},
        {"another group first", "[Other]\nType=Application\n" + ours},
        {"a key given twice", "[Desktop Entry]\nType=Application\nType=Application\n" + ours},
        {"a key before any group", "Type=Application\n[Desktop Entry]\n" + ours},
        {"another program", "[Desktop Entry]\nType=Application\nExec=/usr/bin/other --autostart\n"},
        {"a link", "[Desktop Entry]\nType=Link\n" + ours},
        {"hidden", "[Desktop Entry]\nType=Application\nHidden=true\n" + ours},
        {"switched off", "[Desktop Entry]\nType=Application\nX-GNOME-Autostart-enabled=false\n" + ours},
        {"unterminated quote", "[Desktop Entry]\nType=Application\nExec=\"/opt/zandor/bin/quorvex-companion\n"},
        {"field code in the program", "[Desktop Entry]\nType=Application\nExec=/opt/zandor/bin/%f\n"},
        {"far too large", "[Desktop Entry]\nType=Application\n" + ours + "#" + QByteArray(70000, 'x') + "\n"},
    };
    controller.setBundle(kId, kProgram);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        writeFile(userEntry(), row.text);
        EXPECT_FALSE(controller.startAtLogin());
        EXPECT_TRUE(controller.setStartAtLogin(true));
        EXPECT_EQ(readAll(userEntry()), ourEntry());
        EXPECT_TRUE(controller.setStartAtLogin(false));
    }
}

TEST_F(StartAtLogin, FailuresAnswerFalseAndKeepTheStateTheDesktopSees)
{
    controller.setBundle(kId, kProgram);
    // A file where the autostart folder belongs: nothing can be written there.
    writeFile(dir.filePath(QStringLiteral("config/autostart")), "not a folder");
    EXPECT_FALSE(controller.setStartAtLogin(true));
    EXPECT_EQ(events, kSetSequence);
    EXPECT_FALSE(controller.enabled());

    // The system's entry starts the program; turning it off needs a user entry, which
    // cannot be written: still on.
    writeFile(systemEntry(), ourEntry());
    EXPECT_TRUE(controller.startAtLogin());
    EXPECT_FALSE(controller.setStartAtLogin(false));
    EXPECT_TRUE(controller.enabled());

    // With the folder back, off hides the system's entry, and on replaces that again.
    QFile::remove(dir.filePath(QStringLiteral("config/autostart")));
    EXPECT_TRUE(controller.setStartAtLogin(false));
    EXPECT_FALSE(controller.enabled());
    EXPECT_TRUE(readAll(userEntry()).contains("\nHidden=true\n"));
    EXPECT_EQ(validate(userEntry()), QString());
    EXPECT_TRUE(controller.setStartAtLogin(true));
    EXPECT_EQ(readAll(userEntry()), ourEntry());
}

// cmake --install puts the launcher, the icons and the help page under the prefix; the
// launcher starts the installed program with the Exec its autostart entry carries.
TEST_F(StartAtLogin, InstalledLauncherStartsTheSameProgramAsTheAutostartEntry)
{
    const QString prefix = dir.filePath(QStringLiteral("my prefix"));
    QProcess install;
    install.start(QStringLiteral(QX_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(QX_BUILD_DIR), QStringLiteral("--component"),
                   QStringLiteral("desktop"), QStringLiteral("--prefix"), prefix});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().constData();

    const QString launcher = prefix + QStringLiteral("/share/applications/quorvex-companion.desktop");
    EXPECT_EQ(validate(launcher), QString());
    for (const char *icon : {"scalable/apps/quorvex-companion.svg", "48x48/apps/quorvex-companion.png"})
        EXPECT_TRUE(QFile::exists(prefix + QStringLiteral("/share/icons/hicolor/") + QLatin1String(icon))) << icon;
    EXPECT_TRUE(QFile::exists(prefix + QStringLiteral("/share/quorvex-companion/help/permissions.html")));

    const QString program = prefix + QStringLiteral("/bin/quorvex-companion");
    controller.setBundle(kId, program);
    ASSERT_TRUE(controller.setStartAtLogin(true));
    const auto installed = platform::desktopentry::parseDesktopEntry(readAll(launcher));
    const auto autostart = platform::desktopentry::parseDesktopEntry(readAll(userEntry()));
    ASSERT_TRUE(installed && autostart);
    EXPECT_EQ(installed->value(QStringLiteral("Exec")), autostart->value(QStringLiteral("Exec")));
    EXPECT_EQ(platform::desktopentry::execProgram(installed->value(QStringLiteral("Exec"))), program);
    EXPECT_TRUE(installed->value(QStringLiteral("Keywords")).split(u';').contains(QStringLiteral("Quorvex")))
        << "a menu search for the product finds it";
}

// The program and its audio module installed under a prefix of the user's: stripped,
// and the module where the installed program looks for it (the build folder aside).
TEST_F(StartAtLogin, InstalledProgramIsStrippedAndFindsItsAudioModuleUnderAnyPrefix)
{
    const QString prefix = dir.filePath(QStringLiteral("other prefix"));
    QProcess install;
    install.start(QStringLiteral(QX_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(QX_BUILD_DIR), QStringLiteral("--component"),
                   QStringLiteral("Unspecified"), QStringLiteral("--prefix"), prefix});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().constData();
    const QStringList modules = [&] {
        QStringList found;
        for (QDirIterator it(prefix, {"libqx_multimedia.so"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            found << QFileInfo(it.next()).absolutePath();
        return found;
    }();
    ASSERT_EQ(modules.size(), 1);
    const QStringList looked = platform::linuxbackend::multimediaModuleDirs(prefix + QStringLiteral("/bin"));
    EXPECT_EQ(looked.indexOf(modules.first()), 1) << looked.join(' ').toStdString();
    // The other modules beside it, where the same search finds them.
    for (const char *module : {"qx-aiweb", "libqx_speech.so", "libqx_atspi.so", "libqx_bluetooth.so"})
        EXPECT_TRUE(QFile::exists(modules.first() + u'/' + QLatin1String(module))) << module;
    for (const QString &binary :
         {prefix + QStringLiteral("/bin/quorvex-companion"), modules.first() + "/libqx_multimedia.so"}) {
        QFile f(binary);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << binary.toStdString();
        EXPECT_FALSE(f.readAll().contains(".debug_info")) << binary.toStdString();
    }
}

} // namespace
