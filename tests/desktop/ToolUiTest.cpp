// The tool manager's user-interface helpers: alerts, text measuring, opening files
// and web addresses, the point under the mouse, scrolling and path conversion.
#include "FakeDesktop.h"
#include "FakeNeighbours.h"
#include "HRVLocalizedString.h"
#include "KeyValueStore.h"
#include "TargetRecords.h"
#include "desktop/QXToolManagerUI.h"
#include "drawing/BezierPathConversion.h"
#include "views/PZScrollView.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QMessageBox *openMessageBox()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    return nullptr;
}

} // namespace

TEST(ToolUiTest, ErrorAlertIsWindowModalOnTheMainWindowWithOneLocalisedButton)
{
    FakeNeighbours neighbours;
    QWidget mainWindow;
    mainWindow.show();
    neighbours.shell.mainWindow = &mainWindow;
    QXToolManagerUI::Deps deps;
    deps.localize = [](const QString &key) { return key == "知道了" ? QStringLiteral("Got it") : key; };
    deps.shell = &neighbours.shell;
    QXToolManagerUI tool(deps);

    tool.showErrorMsg("登录失败", "请检查网络");
    QMessageBox *box = openMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "登录失败");
    EXPECT_EQ(box->informativeText(), "请检查网络");
    EXPECT_EQ(box->windowTitle(), "Quorvex") << "not the program's file name";
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->parentWidget(), &mainWindow);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons()[0]->text(), "Got it");

    QPointer<QMessageBox> guard(box);
    QTest::mouseClick(box->buttons()[0], Qt::LeftButton);
    QTRY_VERIFY(guard.isNull()); // closed and released
}

TEST(ToolUiTest, ErrorAlertWithoutAMainWindowStillShows)
{
    FakeNeighbours neighbours; // no main window yet
    QXToolManagerUI tool;
    tool.showErrorMsg("请求失败", "");
    QMessageBox *box = openMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->buttons()[0]->text(), HRVLocalizedString::hrvAppLocalizedString("知道了"));
    box->close();
}

TEST(ToolUiTest, TextMeasuringAddsTwoAndWrapsToTheWidth)
{
    QFont font;
    font.setPixelSize(14);
    EXPECT_EQ(QXToolManagerUI::textWidth(QString(), 20, font), 2.0);
    EXPECT_EQ(QXToolManagerUI::textHeight(QString(), 100, font), 2.0);

    const QString text = "one two three four five six seven eight nine ten";
    const double oneLine = QXToolManagerUI::textWidth(text, 20, font);
    EXPECT_GT(oneLine, QXToolManagerUI::textWidth("one", 20, font));
    const double lineHeight = QXToolManagerUI::textHeight("one", 1000, font);
    EXPECT_GT(lineHeight, 2.0);
    EXPECT_GT(QXToolManagerUI::textHeight(text, oneLine / 3, font), 2 * (lineHeight - 2.0));
}

TEST(ToolUiTest, OnlyPickedExistingFilesAreOpened)
{
    FakeWorkspace workspace;
    QTemporaryDir dir;
    const QString picked = dir.filePath("报告 1.txt");
    QFile(picked).open(QIODevice::WriteOnly);
    const QString gone = dir.filePath("gone.txt");
    QFile(gone).open(QIODevice::WriteOnly);
    MemoryKeyValueStore store;
    TargetRecords records(store);
    ASSERT_TRUE(records.record(picked));
    ASSERT_TRUE(records.record("file://" + gone));
    QFile::remove(gone);
    QXToolManagerUI::Deps deps;
    deps.workspace = &workspace;
    deps.targets = &records;
    QXToolManagerUI tool(deps);

    EXPECT_FALSE(tool.openFileWithPath(dir.filePath("never-picked.txt")));
    EXPECT_FALSE(tool.openFileWithPath("file://" + gone)) << "a picked file that no longer exists";
    EXPECT_FALSE(tool.openFileWithPath(QString()));
    EXPECT_TRUE(workspace.opened.empty());
    EXPECT_TRUE(tool.openFileWithPath(picked));
    ASSERT_EQ(workspace.opened.size(), 1u);
    EXPECT_EQ(workspace.opened[0].toLocalFile(), picked);
    workspace.fails = true; // nothing on the desktop opens it: the answer says so
    EXPECT_FALSE(tool.openFileWithPath(picked));
}

TEST(ToolUiTest, BrowserAddressesGetASchemeAndAreEncoded)
{
    struct Row {
        QString input;
        QString opened; // encoded form; empty: not opened
        const char *what;
    };
    const Row rows[] = {
        {"www.example.com/search?q=mouse", "http://www.example.com/search?q=mouse", "scheme added"},
        {"https://example.com/a b", "https://example.com/a%20b", "spaces encoded"},
        {"https://example.com/s?wd=你好", "https://example.com/s?wd=%E4%BD%A0%E5%A5%BD", "non-ASCII encoded"},
        {"  HTTP://Example.com  ", "http://example.com", "trimmed, scheme kept"},
        {"localhost:8080/x", "http://localhost:8080/x", "host with port is no scheme"},
        {"", "", "empty"},
        {"   ", "", "blank"},
        {"http://", "", "no host"},
        {"javascript://alert(1)", "", "not a web address"},
        {"file:///etc/passwd", "", "files are not web addresses"},
        {"http://exa mple.com", "", "invalid host"},
    };
    for (const Row &r : rows) {
        const QUrl url = QXToolManagerUI::browserUrlForCmdString(r.input);
        EXPECT_EQ(QString::fromUtf8(url.toEncoded()), r.opened) << r.what;
    }

    FakeWorkspace workspace;
    QXToolManagerUI::Deps deps;
    deps.workspace = &workspace;
    QXToolManagerUI tool(deps);
    EXPECT_FALSE(tool.openBrowserWithCmdString("http://"));
    EXPECT_TRUE(tool.openBrowserWithCmdString("example.com"));
    ASSERT_EQ(workspace.opened.size(), 1u);
    EXPECT_EQ(workspace.opened[0].toString(), "http://example.com");
    workspace.fails = true;
    EXPECT_FALSE(tool.openBrowserWithCmdString("example.com"));
}

TEST(ToolUiTest, PointUnderMouseIsRelativeToTheBottomLeftOfItsScreen)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 800)};
    EXPECT_EQ(screenPointUnderMouse({100, 80}, screens), QPointF(100, 1000));
    EXPECT_EQ(screenPointUnderMouse({2000, 700}, screens), QPointF(80, 100));
    EXPECT_EQ(screenPointUnderMouse({0, 1079}, screens), QPointF(0, 1));
    EXPECT_EQ(screenPointUnderMouse({1950, 900}, screens), QPointF(0, 0)) << "below the smaller screen";
    EXPECT_EQ(screenPointUnderMouse({5, 5}, {}), QPointF(0, 0));
}

TEST(ToolUiTest, ScrollHelpersReachBothEndsAndIgnoreEmptyAreas)
{
    QScrollArea area;
    area.resize(200, 100);
    pz_scrollToBottom(&area); // no content: nothing happens
    pz_scrollToTop(nullptr);
    auto *content = new QWidget;
    content->setMinimumSize(150, 1000);
    area.setWidget(content);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    pz_scrollToBottom(&area);
    EXPECT_GT(area.verticalScrollBar()->value(), 0);
    EXPECT_EQ(area.verticalScrollBar()->value(), area.verticalScrollBar()->maximum());
    pz_scrollToTop(&area);
    EXPECT_EQ(area.verticalScrollBar()->value(), 0);
}

TEST(ToolUiTest, QuadraticCurvesBecomeCubicsAndElementsRoundTrip)
{
    const std::vector<PathElement> quad = {
        {PathElement::MoveTo, {{0, 0}, {}, {}}},
        {PathElement::QuadTo, {{3, 3}, {6, 0}, {}}},
    };
    const QPainterPath path = pathFromPathElements(quad);
    const auto back = pathElementsFromPath(path);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].kind, PathElement::CurveTo);
    EXPECT_EQ(back[1].points[0], QPointF(2, 2));
    EXPECT_EQ(back[1].points[1], QPointF(4, 2));
    EXPECT_EQ(back[1].points[2], QPointF(6, 0));

    QPainterPath stroke;
    stroke.moveTo(1, 1);
    stroke.lineTo(5, 1);
    stroke.cubicTo(6, 2, 7, 3, 8, 8);
    const auto elements = pathElementsFromPath(stroke);
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(pathFromPathElements(elements), stroke);
    EXPECT_TRUE(pathElementsFromPath(QPainterPath()).empty());
}
