// The real application as a user meets it, on the X server over a simulated receiver,
// with the maker's server, the speech service and a system tray of its own: the icon
// docks in the tray, the receiver's connection brings the main window up, each tab is
// clicked in turn and photographed (build/screens/app-*.png, app-desktop-*.png under a
// window manager), the device page sets another DPI on the receiver, a voice command
// is added on the personal page and a dictated phrase runs it, a selection in another
// application is translated by the receiver's translate key, the receiver's AI key
// opens the AI window (its page in the helper process) and the user closes it, the
// receiver is pulled out and put back while each page shows, an AI mouse's receiver
// takes its place for a while and the first press of its AI helper key opens the AI
// window and reaches the page, and the tray menu's quit item ends the application; the
// log holds no warning the walk did not provoke.
#include "VoiceRig.h"
#include "X11Desktop.h"

#include "../desktop_x11/XTestDriver.h"
#include "LocalHttpServer.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QRegularExpression>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <memory>

namespace {

using namespace voice_rig;
using S = LocalSpeechServer;

constexpr QSize kMainWindowSize(1080, 720);
// The tab bar: items of this height from this top, in the left column.
constexpr int kItemTop = 80;
constexpr int kItemHeight = 48;
constexpr int kTabColumnX = 100;
// A plain receiver's mouse gets the device, smart, software and personal tabs.
constexpr int kTabs = 4;
constexpr int kSmartTab = 1, kPersonalTab = 3;
// In the window: the device page's DPI drop-down (the first row under the keys of the
// profile), the smart page's word translation switch, the personal page's add button.
constexpr QPoint kDpiBox(490, 365);
constexpr QPoint kWordTranslateSwitch(429, 503);
constexpr QPoint kAddCommand(986, 87);
// The add-command dialog's panel in the window, and in it the type drop-down, the word
// and target fields and the create button.
constexpr QPoint kPanel(260, 145);
constexpr QPoint kTypeBox(306, 124);
constexpr QPoint kWordField(375, 204);
constexpr QPoint kTargetField(375, 272);
constexpr QPoint kCreateButton(217, 359);
// In the translation window: the translation's copy button.
constexpr QPoint kCopyTranslation(290, 220);

// The receiver's programmable keys as the walk's profile sets them: the translate key
// translates the selection, the M key opens the AI window.
constexpr int kTranslateKey = 0x42, kMKey = 0x46;
const QByteArray kCommandWord = "open sesame";
const QByteArray kCommandText = "bonjour le monde";
const QByteArray kTranslation = "hello world";

// An AI mouse's receiver (plan 7, 21-byte reports "a6 <length> 4d <command> ...") in
// the next USB port, its mouse of another model than the walk's, and that mouse's AI
// helper key of the XML helper.
const Receiver kAiReceiver{0x248A, 0x67AC, 0xFFBB, "AI", "2.4G Receiver", 0, 1};
constexpr int kAiModel = 90, kXmlHelperKey = 0x8c;
const QByteArray kAiSerial = QByteArray::fromHex("2026121000000007");

QByteArray aiReport(int length, const QByteArray &body)
{
    return (QByteArray::fromHex("a6") + char(length) + QByteArray::fromHex("4d") + body).leftJustified(21, '\0');
}

// The mouse's programmable key with one choice, single press.
QJsonObject profileKey(const char *key, const char *cmd)
{
    const QJsonObject option{{"id", QString::fromLatin1(key) + "-1"}, {"name", cmd}, {"cmd", cmd}, {"first", "1"}};
    const QJsonObject press{
        {"id", QString::fromLatin1(key) + "-sk"}, {"operation", "sk"}, {"childs", QJsonArray{option}}};
    return {{"id", key}, {"key", key}, {"name", key}, {"childs", QJsonArray{press}}};
}

QJsonObject commandJson(const QString &word, const QString &target, const QString &type)
{
    return {{"customCmd", word}, {"customName", target}, {"cmdType", type}};
}

std::optional<QRect> mainWindowRect()
{
    const auto windows = x11desktop::shownTopLevels(kMainWindowSize);
    return windows.isEmpty() ? std::nullopt : std::optional<QRect>(windows.first().rect);
}

// Closes a connection once the server has carried out what was sent on it: a busy
// server that sees the hang-up first drops the requests still unread.
void disconnectAfterRoundTrip(xcb_connection_t *c)
{
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

// Raises a window and gives it the keyboard, as a click on it does.
void activate(xcb_window_t w)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    x11desktop::activate(c, w);
    xcb_disconnect(c);
}

// Where a window is on the screen (a docked icon sits inside the tray's window).
QRect screenRect(xcb_window_t w)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const QRect r = x11desktop::screenRect(c, w);
    xcb_disconnect(c);
    return r;
}

// What the screen shows in that rectangle (24-bit screens: 32 bits a pixel).
QImage grab(const QRect &r)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    std::unique_ptr<xcb_get_image_reply_t, decltype(&free)> img(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, qint16(r.x()), qint16(r.y()),
                                          quint16(r.width()), quint16(r.height()), ~0u),
                            nullptr),
        &free);
    QImage out;
    if (img && xcb_get_image_data_length(img.get()) == r.width() * r.height() * 4)
        out = QImage(xcb_get_image_data(img.get()), r.width(), r.height(), QImage::Format_RGB32).copy();
    xcb_disconnect(c);
    return out;
}

// The colour the screen shows at a point.
QRgb pixel(QPoint p)
{
    const QImage one = grab(QRect(p, QSize(1, 1)));
    return one.isNull() ? 0 : one.pixel(0, 0);
}

// Asks a window to close, as a window manager's close button does.
void closeWindow(xcb_window_t w)
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const auto atom = [c](const char *name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> r(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr), &free);
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    xcb_client_message_event_t m{};
    m.response_type = XCB_CLIENT_MESSAGE;
    m.format = 32;
    m.window = w;
    m.type = atom("WM_PROTOCOLS");
    m.data.data32[0] = atom("WM_DELETE_WINDOW");
    m.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&m));
    disconnectAfterRoundTrip(c);
}

// The processes whose parent is `pid` and whose name begins with `name`.
int childrenNamed(qint64 pid, const QByteArray &name)
{
    int n = 0;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!entry.front().isDigit() || !stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...
        const QByteArray line = stat.readAll();
        const qsizetype open = line.indexOf('('), close = line.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        const QList<QByteArray> rest = line.mid(close + 2).split(' ');
        n += rest.size() > 1 && rest[1].toLongLong() == pid && line.mid(open + 1, close - open - 1).startsWith(name);
    }
    return n;
}

class WholeAppWalk : public VoiceE2E {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X server; run under xvfb-run";
        VoiceE2E::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        api.setHandler([this](const HttpRequestRecord &r) { return answer(r); });
        // Xvfb has no system tray: this one docks the application's icon.
        m_tray.setProcessEnvironment(toolEnvironment());
        m_tray.start(QStringLiteral(QX_TRAY_HOST), {});
        ASSERT_TRUE(pump([&] { return trayOutput().contains("ready"); }, 10000)) << "the tray host did not start";
    }
    void TearDown() override
    {
        m_tray.kill();
        m_tray.waitForFinished(2000);
        VoiceE2E::TearDown();
    }

    // The maker's server: the device profile, the voice commands it keeps, the
    // translation, the AI page.
    HttpScriptedReply answer(const HttpRequestRecord &r)
    {
        const auto json = [](const QJsonValue &data) {
            return HttpScriptedReply::json(
                QJsonDocument(QJsonObject{{"rc", 0}, {"msg", "ok"}, {"data", data}}).toJson());
        };
        if (r.path.endsWith("/getModelInfo")) {
            const QJsonObject web{{"name", "WebUrl"}, {"code", api.baseUrl() + "/ai/index.html"}};
            return json(QJsonObject{{"sno", "WALK-SNO"},
                                    {"appkey", "WALK-KEY"},
                                    {"functions", QJsonArray{web}},
                                    {"keyInfos", QJsonArray{profileKey("translate_key", "Action_GetWord_Trans"),
                                                            profileKey("M_key", "Action_OM_AI")}}});
        }
        if (r.path.endsWith("/deviceCmd") || r.path.endsWith("/commonCmd"))
            return json(r.path.endsWith("/deviceCmd") ? m_commands : QJsonArray{});
        if (r.path.endsWith("/saveDeviceCmd")) {
            m_commands.append(
                commandJson(r.queryValue("customCmd"), r.queryValue("customName"), r.queryValue("cmdType")));
            return json(m_commands);
        }
        // A newer mouse firmware to download; none for the receiver or the AI mouse.
        if (r.path.endsWith("/upgrade")) {
            const bool mouse =
                r.queryValue("type") == "MOUSE" && r.queryValue("productCode") != QString::number(kAiModel);
            return json(QJsonObject{{"type", r.queryValue("type")},
                                    {"num", mouse ? QStringLiteral("99") : r.queryValue("num")},
                                    {"downloadUrl", mouse ? api.baseUrl() + "/fw/walk_mouse_v99.txt" : QString()}});
        }
        if (r.path.endsWith("/fw/walk_mouse_v99.txt"))
            return HttpScriptedReply::withContentType("text/plain", "MOUSE FIRMWARE\n00\n01\n");
        if (r.path.endsWith("/translate"))
            return json(QJsonObject{{"text", r.queryValue("text")}, {"transText", QString::fromLatin1(kTranslation)}});
        // The page tells the server each helper it is asked for.
        if (r.path.endsWith("/ai/index.html"))
            return HttpScriptedReply::withContentType(
                "text/html; charset=utf-8", "<html><head><script>function handlHelperInput(id, text, n) {"
                                            " fetch('/ai/helper?id=' + encodeURIComponent(id)); }</script></head>"
                                            "<body><h1>The walk's AI page</h1></body></html>");
        if (r.path.endsWith("/ai/helper"))
            return HttpScriptedReply::json("{}");
        return HttpScriptedReply::html(404, "<p>not here</p>");
    }
    int requestsTo(const QByteArray &path) const
    {
        return int(std::count_if(api.requests().cbegin(), api.requests().cend(),
                                 [&](const HttpRequestRecord &r) { return r.path.endsWith(path); }));
    }

    HttpRequestRecord lastTo(const QByteArray &path) const
    {
        const auto &all = api.requests();
        const auto it = std::find_if(all.crbegin(), all.crend(), [&](const auto &r) { return r.path.endsWith(path); });
        return it == all.crend() ? HttpRequestRecord() : *it;
    }
    QByteArray trayOutput() { return m_trayOut += m_tray.readAllStandardOutput(); }
    void wait(int ms)
    {
        pump([] { return false; }, ms);
    }
    static QPoint tabCentre(const QRect &window, int index)
    {
        return window.topLeft() + QPoint(kTabColumnX, kItemTop + kItemHeight * index + kItemHeight / 2);
    }
    // The main window in front with the keyboard, one of its tabs clicked and shown
    // selected (in the accent colour).
    void showTab(int index)
    {
        ASSERT_TRUE(pump([] { return mainWindowRect().has_value(); }, 10000)) << diag();
        const QPoint tab = tabCentre(*mainWindowRect(), index);
        const QPoint edge = tab - QPoint(kTabColumnX - 10, 0);
        const auto selected = [&] { return qBlue(pixel(edge)) > qRed(pixel(edge)) + 100; };
        // As a user does when the click did not take (another window still on top, a
        // busy machine): raise it and click again.
        for (int attempt = 0; attempt < 5 && !selected(); ++attempt) {
            // (Looked up again: a busy application may have it unmapped for a moment.)
            if (const auto windows = x11desktop::shownTopLevels(kMainWindowSize); !windows.isEmpty())
                activate(windows.first().window);
            click(tab);
            pump(selected, 3000);
        }
        ASSERT_TRUE(selected()) << "tab " << index << ": " << std::hex << pixel(edge);
        wait(200);
    }
    // Whether the add-command dialog's cover dims the page's title band.
    bool dialogShown() { return qGray(pixel(mainWindowRect()->topLeft() + QPoint(600, 20))) < 220; }
    void click(QPoint at)
    {
        x.moveTo(at);
        x.button(1, true);
        x.button(1, false);
        settleDesktop();
    }
    void type(const QByteArray &text)
    {
        for (char ch : text)
            x.typeKey(static_cast<unsigned char>(ch)); // Latin-1 keysyms are the characters
    }
    // The largest of the application's shown windows that are not in `before`.
    std::optional<xcb_window_t> newWindow(const QList<Window> &before)
    {
        std::optional<xcb_window_t> largest;
        int area = 0;
        for (Window w : newWindows(before)) {
            const QRect r = screenRect(xcb_window_t(w));
            if (r.width() * r.height() > area)
                largest = xcb_window_t(w), area = r.width() * r.height();
        }
        return largest;
    }
    // The application's shown windows that are not in `before`.
    QList<Window> newWindows(const QList<Window> &before)
    {
        QList<Window> fresh;
        for (Window w : shownWindowsOf(m_app->pid()))
            if (!before.contains(w))
                fresh << w;
        return fresh;
    }
    void photograph(const QRect &r, const QString &name)
    {
        const QString screens = QStringLiteral(QX_SCREENS_DIR);
        QDir().mkpath(screens);
        const QImage shot = grab(r);
        EXPECT_FALSE(shot.isNull()) << name.toStdString();
        // (On a desktop with a window manager, beside the bare display's.)
        const QString kind = x11desktop::windowManagerRunning(XGetXCBConnection(display())) ? "app-desktop" : "app";
        EXPECT_TRUE(shot.save(screens + QStringLiteral("/%1-%2.png").arg(kind, name))) << name.toStdString();
    }

    LocalHttpServer api;
    XTestDriver x;
    QProcess m_tray;
    QByteArray m_trayOut;
    QJsonArray m_commands;
};

TEST_F(WholeAppWalk, FromTheTrayIconThroughEveryPageAndKeyToTheTrayMenusQuit)
{
    QProcessEnvironment env;
    env.insert("QX_API_BASE", api.baseUrl());
    launch(Receiver{0x3151, 0x22AB, 0xFF05, "E2E"}, env);
    ASSERT_FALSE(HasFatalFailure());
    // The icon docks in the tray.
    ASSERT_TRUE(pump([&] { return trayOutput().contains("docked"); }, 10000)) << diag();
    const QList<QByteArray> docked = trayOutput().mid(trayOutput().indexOf("docked")).split(' ');
    const xcb_window_t icon = xcb_window_t(docked.value(1).toULong());
    ASSERT_TRUE(pump([] { return mainWindowRect().has_value(); }, 10000)) << diag();
    if (::geteuid() == 0)
        EXPECT_EQ(m_app->count("sandbox is turned off"), 0) << "the web engine loads only with the AI window";

    // The firmware offer: the mouse's image arrived with the connection, before the
    // software tab was ever opened; opened now, the tab offers the update (its two
    // buttons are the only things of the accent colour under the about row).
    {
        constexpr int kSoftwareTab = 2;
        ASSERT_TRUE(pump([&] { return m_app->count("firmware image saved") > 0; }, 15000)) << diag();
        showTab(kSoftwareTab);
        const auto offered = [&] {
            const QImage band = grab(QRect(mainWindowRect()->topLeft() + QPoint(244, 370), QSize(220, 300)));
            int accent = 0;
            for (int y = 0; y < band.height(); ++y)
                for (int x = 0; x < band.width(); ++x) {
                    const QRgb p = band.pixel(x, y);
                    accent += qRed(p) < 12 && qAbs(qGreen(p) - 175) < 12 && qAbs(qBlue(p) - 204) < 12;
                }
            return accent > 3000;
        };
        EXPECT_TRUE(pump(offered, 5000)) << "no firmware update offered";
        photograph(*mainWindowRect(), QStringLiteral("firmware-offer"));
    }

    // Each tab in turn, photographed.
    for (int i = 0; i < kTabs; ++i) {
        showTab(i);
        photograph(*mainWindowRect(), QStringLiteral("tab%1").arg(i));
    }

    // Another DPI on the device page (its drop-down, the first row under the keys): the
    // receiver hears the family's DPI frame with another index than the mouse reported (2).
    {
        showTab(0);
        while (heardWhere([](const QByteArray &) { return true; })) {
        }
        const QList<Window> before = shownWindowsOf(m_app->pid());
        click(mainWindowRect()->topLeft() + kDpiBox);
        ASSERT_TRUE(pump([&] { return !newWindows(before).isEmpty(); }, 10000)) << "the DPI menu";
        x.typeKey(XK_Down);
        x.typeKey(XK_Return);
        const auto dpi = [](const QByteArray &r) {
            return r.startsWith(QByteArray::fromHex("0da54d0568")) && r.at(5) != 2;
        };
        EXPECT_TRUE(pump([&] { return heardWhere(dpi).has_value(); }, 10000)) << "no DPI frame";
    }

    // Word translation on, on the smart page.
    showTab(kSmartTab);
    click(mainWindowRect()->topLeft() + kWordTranslateSwitch);

    // A voice command that types a fixed text, added through the personal page's dialog;
    // the server keeps it.
    {
        showTab(kPersonalTab);
        const QRect window = *mainWindowRect();
        click(window.topLeft() + kAddCommand);
        ASSERT_TRUE(pump([&] { return dialogShown(); }, 10000));
        photograph(window, QStringLiteral("add-command"));
        const QPoint panel = window.topLeft() + kPanel;
        const QList<Window> before = shownWindowsOf(m_app->pid());
        click(panel + kTypeBox);
        ASSERT_TRUE(pump([&] { return !newWindows(before).isEmpty(); }, 10000)) << "the type menu";
        // The fourth of the four types: a fixed text.
        const QRect menu = screenRect(xcb_window_t(newWindows(before).first()));
        click(menu.topLeft() + QPoint(menu.width() / 2, menu.height() * 7 / 8));
        ASSERT_TRUE(pump([&] { return newWindows(before).isEmpty(); }, 10000));
        click(panel + kWordField);
        type(kCommandWord);
        click(panel + kTargetField);
        type(kCommandText);
        wait(300);
        photograph(window, QStringLiteral("add-command-filled"));
        const int saved = requestsTo("/saveDeviceCmd");
        click(panel + kCreateButton);
        ASSERT_TRUE(pump([&] { return requestsTo("/saveDeviceCmd") > saved; }, 10000)) << diag();
        const HttpRequestRecord sent = lastTo("/saveDeviceCmd");
        EXPECT_EQ(sent.queryValue("customCmd"), QString::fromLatin1(kCommandWord));
        EXPECT_EQ(sent.queryValue("customName"), QString::fromLatin1(kCommandText));
        EXPECT_EQ(sent.queryValue("cmdType"), "text");
        EXPECT_TRUE(pump([&] { return !dialogShown(); }, 10000)) << "the dialog stays";
        photograph(window, QStringLiteral("command-added"));
    }

    // The command word dictated with the search key: the command types its text into
    // the focused field of the other application.
    {
        focusTarget();
        server.onFrame(1, {});
        server.onEnd({S::reply("FIN", QString::fromLatin1(kCommandWord)), S::reply("LAST", "")});
        m_opened = int(AppProcess::userLog(m_root.path()).count("开始录音"));
        QElapsedTimer held;
        held.start();
        send(framed(kSearchDown));
        ASSERT_TRUE(pump([&] { return heard("0da54d04624c"); }, 10000)) << diag();
        ASSERT_TRUE(pump([&] { return recognitionOpen(); }, 10000)) << diag();
        send(framed(kVoiceStart));
        speak(8000);
        // A search press shorter than 1.5 s is abandoned.
        wait(std::max(0, 1700 - int(held.elapsed())));
        send(framed(kSearchUp));
        ASSERT_TRUE(pump([&] { return heard("0da54d04634c"); }, 10000)) << diag();
        send(framed(kVoiceEnd));
        EXPECT_TRUE(pump([&] { return m_text == QString::fromLatin1(kCommandText); }, 10000)) << diag();
    }

    // The typed text selected with the mouse, the receiver's translate key: the
    // server's translation shows in the translation window.
    {
        const QList<QByteArray> r = m_ready.split(' ');
        const QPoint field(r[1].toInt(), r[2].toInt() + 12);
        // The drag copies the selection and shows the search button.
        const QList<Window> beforeDrag = shownWindowsOf(m_app->pid());
        // At a hand's pace: the application starts watching the motion at the press.
        x.moveTo(field + QPoint(2, 0));
        x.button(1, true);
        wait(150);
        for (int step = 1; step <= 8; ++step) {
            x.moveTo(field + QPoint(2 + 50 * step, 0));
            wait(30);
        }
        x.button(1, false);
        ASSERT_TRUE(pump([&] { return !newWindows(beforeDrag).isEmpty(); }, 10000)) << "no search button" << diag();
        const QList<Window> before = shownWindowsOf(m_app->pid());
        const int asked = requestsTo("/translate");
        send(framed(kTranslateKey));
        ASSERT_TRUE(pump([&] { return requestsTo("/translate") > asked; }, 10000)) << diag();
        EXPECT_EQ(lastTo("/translate").queryValue("text"), QString::fromLatin1(kCommandText));
        // The card (a tip may come and go first).
        const auto cardShown = [&] {
            const std::optional<xcb_window_t> w = newWindow(before);
            return w && screenRect(*w).width() >= 300 && screenRect(*w).height() >= 200;
        };
        ASSERT_TRUE(pump(cardShown, 10000)) << "no translation window";
        const QRect card = screenRect(*newWindow(before));
        // The translation's copy button puts it on the clipboard. A window mapped on a
        // loaded machine may not take a click yet: clicked again until it has.
        const auto copied = [&] {
            return readSelectionAsOtherClient("CLIPBOARD", "UTF8_STRING").value_or(QByteArray()) == kTranslation;
        };
        bool took = false;
        for (int attempt = 0; attempt < 4 && !took; ++attempt) {
            click(card.topLeft() + kCopyTranslation);
            took = pump(copied, 4000);
        }
        photograph(card, QStringLiteral("translate"));
        if (!took)
            photograph(QRect(0, 0, 1280, 800), QStringLiteral("translate-failed"));
        EXPECT_TRUE(took) << diag();
    }

    // The receiver's AI key: the AI window with the profile's page from the server, in
    // the web engine's processes of its helper; the user closes it.
    std::optional<Window> aiStays;
    {
        const QList<Window> before = shownWindowsOf(m_app->pid());
        const int pages = requestsTo("/ai/index.html");
        send(framed(kMKey));
        ASSERT_TRUE(pump([&] { return !newWindows(before).isEmpty(); }, 15000)) << "no AI window" << diag();
        // The largest: a tip (the copy's) may come up at the same time.
        const Window ai = *newWindow(before);
        EXPECT_TRUE(pump([&] { return childrenNamed(m_app->pid(), "qx-aiweb") == 1; }, 15000))
            << childrenNamed(m_app->pid(), "qx-aiweb") << " helpers; " << m_app->output().toStdString();
        EXPECT_EQ(childrenNamed(m_app->pid(), "QtWebEngineProc"), 0) << "the engine runs in the helper";
        EXPECT_TRUE(pump([&] { return requestsTo("/ai/index.html") > pages; }, 15000)) << diag();
        if (::geteuid() == 0)
            EXPECT_EQ(m_app->count("sandbox is turned off"), 1);
        // The page shows: its heading's dark letters at the top left.
        const auto headingShown = [&] {
            const QRect at = screenRect(xcb_window_t(ai));
            const QImage top = grab(QRect(at.topLeft(), QSize(std::min(at.width(), 360), 50)));
            for (int y = 0; y < top.height(); y += 2)
                for (int x = 0; x < top.width(); ++x)
                    if (qGray(top.pixel(x, y)) < 60)
                        return true;
            return false;
        };
        EXPECT_TRUE(pump(headingShown, 20000)) << "the page does not show";
        photograph(screenRect(xcb_window_t(ai)), QStringLiteral("ai"));
        // Its close button, as a window manager has it: the window comes to the front
        // with the keyboard, then is asked to close. (Asked without that, on a machine
        // loaded far past its cores, it has been seen to stay; the user would click
        // again.)
        const auto gone = [&] { return !shownWindowsOf(m_app->pid()).contains(ai); };
        for (int attempt = 0; attempt < 2 && !gone(); ++attempt) {
            activate(xcb_window_t(ai));
            closeWindow(xcb_window_t(ai));
            pump(gone, 10000);
        }
        if (!gone()) {
            // Once seen about once in ten walks, while the close request could be dropped
            // with its connection (see disconnectAfterRoundTrip). The device's departure,
            // the next step, must then take the window away.
            photograph(QRect(0, 0, 1280, 800), QStringLiteral("ai-stays"));
            std::cerr << "note: the AI window did not take the close request\n";
            aiStays = ai;
        }
    }

    // The receiver pulled out while each page shows: the window goes with the device,
    // and comes back with it (a second launch asks for it).
    for (int i = 0; i < kTabs; ++i) {
        SCOPED_TRACE(i);
        showTab(i);
        const int removals = m_app->count("status item: no device");
        pullOut();
        ASSERT_TRUE(pump([&] { return m_app->count("status item: no device") > removals; }, 10000)) << diag();
        EXPECT_TRUE(pump([] { return !mainWindowRect().has_value(); }, 3000));
        if (aiStays)
            EXPECT_TRUE(pump([&] { return !shownWindowsOf(m_app->pid()).contains(*aiStays); }, 5000))
                << "the AI window outlives the device";
        aiStays.reset();
        ASSERT_TRUE(m_app->running());
        putBack();
        ASSERT_FALSE(HasFatalFailure());
        AppProcess second(m_root.path());
        ASSERT_TRUE(second.start());
        EXPECT_TRUE(pump([&] { return !second.running(); }, 15000));
        EXPECT_EQ(second.waitForExit(), 0);
        EXPECT_TRUE(m_app->running());
    }
    ASSERT_TRUE(pump([] { return mainWindowRect().has_value(); }, 10000));

    // An AI mouse's receiver in place of the plain one: the first press of its AI helper
    // key makes the AI window, whose page is still loading then; the page hears the
    // press once it has loaded.
    {
        const int removals = m_app->count("status item: no device");
        pullOut();
        ASSERT_TRUE(pump([&] { return m_app->count("status item: no device") > removals; }, 10000)) << diag();
        const int fd = addReceiver(kAiReceiver);
        ASSERT_GE(fd, 0);
        const int appSide = ::open(kAiReceiver.devNode().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        QByteArray written;
        // Whether the application asked the receiver for `command` since the last ask.
        const auto asked = [&](int command) {
            char buf[512];
            for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;)
                written.append(buf, qsizetype(n));
            const qsizetype at = written.indexOf(QByteArray::fromHex("4d") + char(command));
            const bool found = at >= 2 && uint8_t(written[at - 2]) == 0xa6;
            if (found)
                written.remove(0, at + 2);
            return found;
        };
        const auto answer = [&](const QByteArray &report) {
            EXPECT_TRUE(pump([&] { return receiver_node::unreadOnNode(appSide) == 0; }, 10000));
            EXPECT_EQ(::write(fd, report.constData(), size_t(report.size())), report.size());
        };
        const QByteArray sn = "sn: QX" + kAiSerial.toHex().toUpper();
        const int connected = m_app->count(sn), profiles = m_app->count("handleModelInfoWithInfoData");
        umockdev_testbed_uevent(m_bed, kAiReceiver.hidraw().constData(), "add");
        ASSERT_TRUE(pump([&] { return asked(0x61); }, 10000)) << diag();
        // Serial, flags, sensor, DPI step, model, battery, firmware.
        answer(aiReport(0x13, QByteArray::fromHex("61") + "QX" + kAiSerial + QByteArray::fromHex("0201") + char(2)
                                  + char(kAiModel) + char(80) + char(0x10)));
        ASSERT_TRUE(pump([&] { return m_app->count(sn) > connected; }, 10000)) << m_app->output().toStdString();
        // The mouse's profile arriving orders the AI window out: the user presses after it.
        ASSERT_TRUE(pump([&] { return m_app->count("handleModelInfoWithInfoData") > profiles; }, 10000)) << diag();
        const QList<Window> before = shownWindowsOf(m_app->pid());
        const int helpers = requestsTo("/ai/helper");
        answer(aiReport(0x04, QByteArray(1, char(kXmlHelperKey)) + '\0'));
        EXPECT_TRUE(pump([&] { return !newWindows(before).isEmpty(); }, 15000)) << "no AI window" << diag();
        EXPECT_TRUE(pump([&] { return requestsTo("/ai/helper") > helpers; }, 30000))
            << "the page never heard the key" << diag();
        EXPECT_EQ(lastTo("/ai/helper").queryValue("id"), "xml");
        // The AI window goes with its receiver, which leaves the test bed (or the
        // application, looking for receivers still there, takes it up again); the plain
        // one comes back.
        ::close(appSide);
        umockdev_testbed_uevent(m_bed, kAiReceiver.hidraw().constData(), "remove");
        umockdev_testbed_remove_device(m_bed, kAiReceiver.hidraw().constData());
        EXPECT_TRUE(pump([&] { return m_app->count("status item: no device") > removals + 1; }, 10000)) << diag();
        EXPECT_TRUE(pump([&] { return newWindows(before).isEmpty(); }, 10000)) << "the AI window outlives its receiver";
        putBack();
        ASSERT_FALSE(HasFatalFailure());
        AppProcess second(m_root.path());
        ASSERT_TRUE(second.start());
        EXPECT_TRUE(pump([&] { return !second.running(); }, 15000));
        ASSERT_TRUE(pump([] { return mainWindowRect().has_value(); }, 10000));
    }

    // Quit from the tray menu: a right click on the icon, a click on its second item.
    {
        const QList<Window> before = shownWindowsOf(m_app->pid());
        const QRect at = screenRect(icon);
        x.moveTo(at.center());
        x.button(3, true);
        x.button(3, false);
        ASSERT_TRUE(pump([&] { return !newWindows(before).isEmpty(); }, 10000)) << "no tray menu";
        const QRect menu = screenRect(xcb_window_t(newWindows(before).first()));
        photograph(menu, QStringLiteral("tray-menu"));
        click(menu.topLeft() + QPoint(menu.width() / 2, menu.height() * 3 / 4));
        ASSERT_TRUE(pump([&] { return !m_app->running(); }, 15000)) << diag();
        EXPECT_EQ(m_app->waitForExit(), 0) << m_app->output().toStdString();
        EXPECT_EQ(m_app->count("terminating: writing out the log"), 1) << m_app->output().toStdString();
    }

    // No warning the walk did not provoke. Its machine has no server but the walk's,
    // no Bluetooth, compositor or network card, and runs the web engine as root: each of
    // those is said once; a request fails at most once for each connection of the receiver and once
    // each time the window comes up with the device page, never per page shown.
    static const QRegularExpression environment(QStringLiteral(
        "Connection refused|连接被拒绝|no adapter|BlueZ|Bluez|XDG_RUNTIME_DIR|no receiver connected|"
        "input monitoring cannot be requested|no compositing manager|no network interface|no machine address known|"
        "sandbox is turned off"));
    QStringList warnings;
    QMap<QString, int> seen;
    for (const QByteArray &raw : m_app->output().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (!line.contains(QStringLiteral("\u25CF W]")) && !line.contains(QStringLiteral("\u25CF \u274C]")))
            continue;
        if (!environment.match(line).hasMatch())
            warnings << line;
        ++seen[line];
    }
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
    // (The AI mouse's receiver and the plain one again after it: two more.)
    constexpr int kConnections = 1 + kTabs + 2;
    constexpr int kRequestsAtMost = 2 * kConnections;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        EXPECT_LE(it.value(), it.key().contains(QLatin1String("Connection refused")) ? kRequestsAtMost : 1)
            << it.key().toStdString();
}

} // namespace
