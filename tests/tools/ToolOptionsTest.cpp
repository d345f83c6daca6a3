#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ToolOptions, HelpPrintsUsageAndAnUnknownOptionIsRefused)
{
    const struct {
        const char *tool;
        QStringList args;
        int status;
        const char *output; // on stdout for 0, stderr otherwise
    } rows[] = {
        {QX_HID_PROBE, {"--help"}, 0, "usage: qx-hid-probe"},
        {QX_HID_PROBE, {"--bogus"}, 2, "unknown option --bogus"},
        {QX_GEN_UDEV_RULES, {"--help"}, 0, "usage: qx_gen_udev_rules"},
        {QX_GEN_UDEV_RULES, {"--out"}, 2, "usage: qx_gen_udev_rules"},
        {QX_GEN_UDEV_RULES, {}, 2, "usage: qx_gen_udev_rules"},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(testing::Message() << r.tool << " " << r.args.join(' ').toStdString());
        QTemporaryDir cwd;
        QProcess tool;
        tool.setWorkingDirectory(cwd.path());
        tool.start(QString::fromUtf8(r.tool), r.args);
        ASSERT_TRUE(tool.waitForFinished(20000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), r.status);
        const QByteArray text = r.status == 0 ? tool.readAllStandardOutput() : tool.readAllStandardError();
        EXPECT_TRUE(text.contains(r.output)) << text.toStdString();
        // An option is never taken for the rule file's name.
        EXPECT_TRUE(QDir(cwd.path()).isEmpty());
    }
}

} // namespace
