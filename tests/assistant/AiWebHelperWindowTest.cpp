// The companion embeds only a window its helper made: the helper runs pages from the
// web, so the window it names is checked with the X server before it is taken in.
#include "platform/linux/RemoteAiWebHost.h"
#include "platform/linux/X11WindowOwner.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <xcb/xcb.h>

namespace {

using platform::linuxbackend::RemoteAiWebHost;

xcb_connection_t *x11()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// The parent and the children of an X window.
std::pair<quint32, std::vector<quint32>> tree(quint32 window)
{
    xcb_query_tree_reply_t *r = xcb_query_tree_reply(x11(), xcb_query_tree(x11(), window), nullptr);
    if (!r)
        return {};
    const xcb_window_t *children = xcb_query_tree_children(r);
    std::pair<quint32, std::vector<quint32>> out{r->parent, {children, children + xcb_query_tree_children_length(r)}};
    std::free(r);
    return out;
}

class WebHelperWindow : public ::testing::Test {
protected:
    struct Hosted {
        std::unique_ptr<RemoteAiWebHost> host;
        QString lost;
    };

    // A host whose helper names `window` ("own": one it made itself).
    std::unique_ptr<Hosted> start(const QByteArray &window, int choosers = 0)
    {
        auto hosted = std::make_unique<Hosted>();
        RemoteAiWebHost::Launch launch;
        launch.program = QStringLiteral(QX_FAKE_AIWEB);
        launch.environment.insert(QStringLiteral("QX_FAKE_AIWEB_WINDOW"), QString::fromLatin1(window));
        launch.environment.insert(QStringLiteral("QX_FAKE_AIWEB_CHOOSE"), QString::number(choosers));
        launch.startTimeoutMs = 3000;
        hosted->host = std::make_unique<RemoteAiWebHost>(platform::AiWebHostOptions{}, launch);
        platform::IAiWebHost::Callbacks callbacks;
        callbacks.lost = [h = hosted.get()](const QString &why) { h->lost = why; };
        hosted->host->setCallbacks(std::move(callbacks));
        hosted->host->view()->resize(300, 200);
        hosted->host->view()->show();
        return hosted;
    }

    // The X windows taken into the host's view.
    static std::vector<quint32> embedded(Hosted &h)
    {
        std::vector<quint32> out;
        for (QWidget *w : h.host->view()->findChildren<QWidget *>())
            if (w->internalWinId())
                for (quint32 child : tree(quint32(w->internalWinId())).second)
                    out.push_back(child);
        return out;
    }

    // A chooser with a loop of its own would hold the test in it: its host is dropped
    // from a timer all the same, as the window drops a lost one.
    static void dropLater(Hosted &hosted, QObject &context)
    {
        QTimer::singleShot(8000, &context, [&hosted] { hosted.host.reset(); });
    }

    ~WebHelperWindow() override
    {
        (void)QTest::qWaitFor([] { return RemoteAiWebHost::liveHelpers() == 0; }, 10000);
    }
};

TEST_F(WebHelperWindow, OnlyAWindowTheHelperMadeIsTakenIn)
{
    auto first = start("own");
    ASSERT_TRUE(QTest::qWaitFor([&] { return embedded(*first).size() == 1; }, 10000)) << qPrintable(first->lost);
    const quint32 helpersWindow = embedded(*first).front();
    QWidget companions;
    companions.resize(100, 100);
    companions.show();
    const quint32 companionsWindow = quint32(companions.winId());
    const quint32 root = tree(companionsWindow).first;

    struct Row {
        const char *what;
        quint32 window;
        const char *why;
    };
    // A window that is not there may have been made anew already: the helper has until
    // its start time is up to name one that is.
    const Row rows[] = {
        {"another helper's window", helpersWindow, "not its own (a window of process"},
        {"a window of the companion", companionsWindow, "not its own (a window of the companion's own"},
        {"a window no one made", (helpersWindow | 0xffffu) - 7, "did not start in time"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        auto other = start(QByteArray::number(row.window));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !other->lost.isEmpty(); }, 10000));
        EXPECT_TRUE(other->lost.contains(QLatin1String(row.why))) << qPrintable(other->lost);
        EXPECT_TRUE(embedded(*other).empty());
    }
    // Where they were.
    EXPECT_EQ(embedded(*first), std::vector<quint32>{helpersWindow});
    EXPECT_EQ(tree(companionsWindow).first, root);
    EXPECT_TRUE(first->lost.isEmpty()) << qPrintable(first->lost);
}

// An owner may drop the host from inside any of its callbacks, while more of the
// helper's news waits in the same read.
TEST_F(WebHelperWindow, AHostDroppedByItsOwnerMidReadReadsNoFurther)
{
    auto hosted = start("own");
    int loads = 0;
    platform::IAiWebHost::Callbacks callbacks;
    callbacks.loadingChanged = [&](auto...) { ++loads; };
    hosted->host->setCallbacks(std::move(callbacks));
    bool answered = false;
    hosted->host->evaluate(QStringLiteral("1"), [&](const QVariant &) {
        answered = true;
        hosted->host.reset();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(loads, 0);
}

// A helper that asks for the file chooser again and again gets one at a time.
using GuardWebHelper = WebHelperWindow;

TEST_F(GuardWebHelper, OneChooserAtATimeTheOthersGetNone)
{
    auto hosted = start("own", 3);
    QStringList answers;
    platform::IAiWebHost::Callbacks callbacks;
    callbacks.scriptMessage = [&](const QString &, const QString &json) { answers << json; };
    hosted->host->setCallbacks(std::move(callbacks));
    QObject test;
    dropLater(*hosted, test);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return answers.size() == 2 && qobject_cast<QFileDialog *>(QApplication::activeModalWidget()); }, 10000));
    EXPECT_EQ(answers, QStringList({"0", "0"}));
}

// The chooser never answers for a host that has gone.
using FinWebHelper = WebHelperWindow;

TEST_F(FinWebHelper, AChooserOpenWhenItsHostGoesGoesWithIt)
{
    auto hosted = start("own", 1);
    QObject test;
    dropLater(*hosted, test);
    ASSERT_TRUE(QTest::qWaitFor([] { return qobject_cast<QFileDialog *>(QApplication::activeModalWidget()); }, 10000));
    hosted->host.reset();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Where the X server cannot name a window's maker (no X-Resource), what the window says
// of itself (_NET_WM_PID, any client may set it) is not taken for it.
TEST(GuardWindowOwner, WithoutXResourceAWindowIsRefusedWhateverItsPidSays)
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"), QStringLiteral("-displayfd 1 -nolisten tcp -extension X-Resource").split(' '));
    if (!server.waitForReadyRead(10000))
        GTEST_SKIP() << "needs Xvfb";
    const QByteArray display = ':' + server.readAllStandardOutput().trimmed();
    xcb_connection_t *companion = xcb_connect(display.constData(), nullptr),
                     *maker = xcb_connect(display.constData(), nullptr);
    const xcb_window_t w = xcb_generate_id(maker);
    xcb_create_window(maker, 0, w, xcb_setup_roots_iterator(xcb_get_setup(maker)).data->root, 0, 0, 9, 9, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, 0, 0, nullptr);
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(maker, xcb_intern_atom(maker, 0, 11, "_NET_WM_PID"), nullptr);
    const quint32 pid = quint32(QCoreApplication::applicationPid());
    xcb_change_property(maker, XCB_PROP_MODE_REPLACE, w, atom->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
    std::free(atom);
    std::free(xcb_get_input_focus_reply(maker, xcb_get_input_focus(maker), nullptr));
    const auto why = platform::linuxbackend::windowNotOwnedBy(companion, w, pid);
    EXPECT_TRUE(why && why->contains(QLatin1String("no X-Resource"))) << qPrintable(why.value_or("taken in"));
    xcb_disconnect(maker);
    xcb_disconnect(companion);
    server.kill();
    server.waitForFinished();
}

} // namespace
