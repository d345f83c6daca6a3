// Under a real X server: while a text field of another process has the focus, the
// speech pop-up and a tip show, grow, animate and take a click without moving the
// keyboard focus away from the field, so the text pasted next lands there.
#include "FakeNeighbours.h"
#include "ScopedUserInfoData.h"
#include "XTestDriver.h"
#include "controls/QXButton.h"
#include "popup/QXPopupWindow.h"
#include "popup/QXPopupWindowTool.h"
#include "popup/QXShowTipWindow.h"

#include <QProcess>
#include <QTest>

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {
// The other application: a QLineEdit in its own process.
class FocusField {
public:
    FocusField()
    {
        m_process.start(QStringLiteral(QX_FOCUS_HELPER), {});
        if (m_process.waitForReadyRead(10000)) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("ready "))
                m_window = line.mid(6).toULong();
        }
    }
    ~FocusField()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
    unsigned long window() const { return m_window; }
    // What the field's process says about itself ("focus=1 active=1 text=...").
    QByteArray ask(const char *command)
    {
        m_process.write(QByteArray(command) + '\n');
        m_process.waitForReadyRead(5000);
        return m_process.readLine().trimmed();
    }

private:
    QProcess m_process;
    unsigned long m_window = 0;
};
} // namespace

TEST(Vox3X11Focus, FieldOfAnotherProcessKeepsTheFocusWhileThePopupsShow)
{
    if (!onXServer())
        GTEST_SKIP() << "needs an X server; run under xvfb-run";
    XTestDriver x;
    FocusField field;
    ASSERT_NE(field.window(), 0u) << "the helper did not start";
    ASSERT_TRUE(QTest::qWaitFor([&] { return x.inputFocus() == field.window(); }, 5000));

    ScopedUserInfoData state;
    CallLog log;
    VoiceKeyState keys;
    keys.setHadStart(true);
    FakeVoiceKeyDispatcher voice(log);
    QXPopupWindowTool tool({&state.state(), &keys, &voice, {}, false});
    tool.showSpeechView(QStringLiteral("请说话..."), 37);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tool.popupWindow()));
    QString text;
    for (int i = 0; i < 20; ++i) {
        text += QStringLiteral("今天下午三点开会 ");
        tool.showSpeechView(text, 37);
        tool.showYiText(QStringLiteral("The meeting is at three. ").repeated(i + 1));
        QTest::qWait(20);
    }
    tool.showTipMessage(QStringLiteral("切换到翻译模式"), QStringLiteral("laserPen_icon-7"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tool.tipWindow()));
    // Frames keep being drawn meanwhile (the listening loop runs on the real clock).
    QTest::qWait(700);

    EXPECT_EQ(x.inputFocus(), field.window());
    EXPECT_EQ(field.ask("state"), "focus=1 active=1 text=");
    x.typeKey(XK_a);
    EXPECT_TRUE(QTest::qWaitFor([&] { return field.ask("state") == "focus=1 active=1 text=a"; }, 5000))
        << "a key typed now reaches the field: " << field.ask("state").toStdString();

    // A click on the close button ends the session; the focus stays all the same.
    QXButton *close = tool.popupWindow().closeBtn();
    x.moveTo(close->mapToGlobal(close->rect().center()));
    x.button(1, true);
    x.button(1, false);
    QTRY_VERIFY_WITH_TIMEOUT(!tool.isShow(), 3000);
    EXPECT_TRUE(log.calls.contains("cancelAsr"));
    EXPECT_EQ(x.inputFocus(), field.window());
    EXPECT_EQ(field.ask("state"), "focus=1 active=1 text=a");

    // A window that does take the focus moves it: the check would see a theft.
    QWidget thief;
    thief.show();
    thief.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.inputFocus() != field.window(); }, 3000));
}
