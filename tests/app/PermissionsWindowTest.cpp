// The permissions window over a fake probe and a fake workspace: when the launch
// shows it, how rows look and turn granted on re-activation, its texts, and where
// its buttons lead.
#include "windows/QXAuthorityManagementWindowController.h"

#include "FakeDesktop.h"
#include "FakePermissionProbe.h"
#include "RecordingAlertPresenter.h"

#include "KeyValueStore.h"
#include "NotificationCenter.h"
#include "NotificationNames.h"
#include "QXLanguageManager.h"
#include "controls/QXButton.h"
#include "controls/QXLabel.h"
#include "drawing/KitAppearance.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using platform::PermissionKind;
using platform::PermissionRemedy;
using platform::PermissionState;

namespace {

constexpr auto G = PermissionState::Granted;
constexpr auto D = PermissionState::Denied;
constexpr auto U = PermissionState::Undetermined;

class PermissionsWindow : public ::testing::Test {
protected:
    PermissionsWindow() : m_previous(QXLanguageManager::setSharedInstance(&m_languages))
    {
        m_languages.setUiLanguageIndex(0); // the Chinese texts, which are the keys
    }
    ~PermissionsWindow() override { QXLanguageManager::setSharedInstance(m_previous); }

    QXAuthorityManagementWindowController &make(PermissionState a, PermissionState b, PermissionState c)
    {
        probe.set(PermissionKind::Accessibility, a, PermissionRemedy::XTestExtension);
        probe.set(PermissionKind::InputMonitoring, b, PermissionRemedy::UdevRule, QStringLiteral("/dev/hidraw3"));
        probe.set(PermissionKind::ScreenRecording, c, PermissionRemedy::X11Session);
        controller =
            std::make_unique<QXAuthorityManagementWindowController>(QXAuthorityManagementWindowController::Deps{
                &probe, &workspace, QStringLiteral("/usr/share/help.html"), &alerts});
        return *controller;
    }

    FakePermissionProbe probe;
    FakeWorkspace workspace;
    RecordingAlertPresenter alerts;
    std::unique_ptr<QXAuthorityManagementWindowController> controller;

private:
    MemoryKeyValueStore m_store;
    QXLanguageManager m_languages{m_store};
    QXLanguageManager *m_previous = nullptr;
};

TEST_F(PermissionsWindow, LaunchShowsTheWindowOnlyWhenSomethingIsMissing)
{
    const struct {
        PermissionState a, b, c;
        bool shown, allOpen;
        int requests;
    } rows[] = {
        {G, G, G, false, true, 0},
        // Undetermined asks (once by the check, once while the rows are built) and
        // leaves the row as built.
        {G, U, G, false, true, 2},
        {D, G, G, true, false, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.a) << int(row.b) << int(row.c));
        probe.requests = 0;
        auto &c = make(row.a, row.b, row.c);
        c.checkPermission(true);
        // Nothing missing: the check builds no window.
        EXPECT_EQ(c.isWindowLoaded(), row.shown);
        EXPECT_EQ(c.window()->isVisible(), row.shown);
        EXPECT_EQ(c.isAllOpenAuthority(), row.allOpen);
        EXPECT_EQ(probe.requests, row.requests);
        EXPECT_EQ(c.actionButton(1)->title(), row.b == G ? QString() : QStringLiteral("添加"));
    }
}

TEST_F(PermissionsWindow, RowsShowTheirStateAndTurnGrantedWhenTheWindowIsActivatedAgain)
{
    auto &c = make(D, G, D);
    c.checkPermission(false);
    EXPECT_FALSE(c.isWindowLoaded());
    c.window(); // its rows are checked as it is built
    QXButton *denied = c.actionButton(0);
    EXPECT_EQ(denied->title(), QStringLiteral("添加"));
    EXPECT_TRUE(denied->image().isNull());
    EXPECT_EQ(denied->layerStyle().backgroundColor, qxAccentColor());
    EXPECT_TRUE(c.remedyLabel(0)->isVisibleTo(c.window()));
    EXPECT_EQ(c.remedyLabel(0)->text(), QStringLiteral("X 服务器缺少 XTEST 扩展"));
    QXButton *granted = c.actionButton(1);
    EXPECT_TRUE(granted->title().isEmpty());
    EXPECT_FALSE(granted->image().isNull());
    EXPECT_FALSE(granted->layerStyle().hasBackground());
    EXPECT_FALSE(c.remedyLabel(1)->isVisibleTo(c.window()));

    probe.set(PermissionKind::Accessibility, G);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(c.window(), &activate);
    EXPECT_FALSE(denied->image().isNull());
    EXPECT_TRUE(denied->title().isEmpty());
    EXPECT_FALSE(c.isAllOpenAuthority()); // row 2 is still missing

    // A language change builds the rows again, not a second set beside them.
    NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
    EXPECT_EQ(c.permissionsView()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 3);
    EXPECT_EQ(c.btnBgViewArr().size(), 3);
    EXPECT_FALSE(c.actionButton(0)->image().isNull());
}

TEST_F(PermissionsWindow, ChineseTexts)
{
    auto &c = make(G, G, G);
    EXPECT_EQ(c.window()->windowTitle(), QStringLiteral("权限管理"));
    EXPECT_EQ(c.tipLabel()->text(), QStringLiteral("请授权 Quorvex Companion 所需要的权限，以使用设备语音功能"));
    QStringList texts;
    for (const QXLabel *label : c.permissionsView()->findChildren<QXLabel *>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral(R"(Quorvex Companion需要"输入监控"权限检测鼠标\键盘等HID设备连接状态)")));
}

TEST_F(PermissionsWindow, NormalizedPermissionText)
{
    const struct {
        QString in, out;
    } rows[] = {
        {"", ""},          {R"(a\\\\b)", R"(a\b)"}, {R"(\\\)", R"(\)"},
        {R"(\")", R"(")"}, {R"(\\")", R"(")"},      {R"(a\b)", R"(a\b)"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(QXAuthorityManagementWindowController::normalizedPermissionText(row.in), row.out)
            << row.in.toStdString();
}

TEST_F(PermissionsWindow, ButtonsOpenTheirRowsHelpAndHighlightTheClickedRow)
{
    auto &c = make(D, D, D);
    c.window();
    for (int index : {0, 1, 2, 3, -1})
        c.selectAuthorityWithIndex(index);
    QTest::mouseClick(c.actionButton(2), Qt::LeftButton);
    QStringList anchors;
    for (const QUrl &url : workspace.opened) {
        EXPECT_EQ(url.toLocalFile(), QStringLiteral("/usr/share/help.html"));
        anchors << url.fragment();
    }
    EXPECT_EQ(anchors, QStringList({"accessibility", "input-monitoring", "screen-recording", "screen-recording"}));
    EXPECT_EQ(alerts.count(), 0);
    // A desktop that cannot open it: the user is told where the page is.
    workspace.fails = true;
    QTest::mouseClick(c.actionButton(1), Qt::LeftButton);
    ASSERT_EQ(alerts.count(), 1);
    EXPECT_TRUE(alerts.shown[0].message.contains("/usr/share/help.html#input-monitoring"));

    QTest::mouseClick(c.btnBgViewArr()[1], Qt::LeftButton);
    EXPECT_EQ(c.btnBgViewArr()[0]->layerStyle().backgroundColor, QColor(240, 240, 240));
    EXPECT_EQ(c.btnBgViewArr()[1]->layerStyle().backgroundColor, QColor(210, 210, 210));
    EXPECT_EQ(c.instructionsImageName(), QStringLiteral("quanxian2"));
}

// Whoever shows the window may delete it: nothing of it is kept, the next use builds
// a new one.
TEST_F(PermissionsWindow, AWindowDeletedByItsShowerIsBuiltAgain)
{
    auto &c = make(D, G, G);
    delete c.window();
    EXPECT_EQ(c.actionButton(0), nullptr);
    EXPECT_EQ(c.remedyLabel(0), nullptr);
    c.checkPermission(false);
    ASSERT_NE(c.window(), nullptr);
    EXPECT_NE(c.actionButton(0), nullptr);
}

} // namespace

// A description too long for one line at its own size wraps and every row grows by
// the added lines, keeping the remedy below it and the rows apart.
class LookPermissionsWindow : public PermissionsWindow {};

TEST_F(LookPermissionsWindow, LongDescriptionsWrapAndEveryRowGrows)
{
    auto &c = make(D, G, D);
    c.window();
    for (const auto &[language, wraps] : {std::pair{15, true}, {0, false}}) { // Filipino, Simplified Chinese
        QXLanguageManager::sharedInstance().setUiLanguageIndex(quint64(language));
        NotificationCenter::defaultCenter().post(QString::fromLatin1(qx::notify::kUpdateTitleNotification));
        for (int row = 0; row < 3; ++row) {
            const QXLabel *description = c.descriptionLabel(row);
            EXPECT_EQ(description->wordWrap(), wraps);
            EXPECT_EQ(description->drawnFont(), description->font());
            EXPECT_GT(c.remedyLabel(row)->y(), description->geometry().bottom());
            const QRect rowBox = description->parentWidget()->geometry();
            EXPECT_EQ(rowBox.height() > 70, wraps);
            EXPECT_LT(c.remedyLabel(row)->geometry().bottom(), rowBox.height());
            EXPECT_LT(rowBox.bottom(), (row + 1) * 100);
        }
    }
}
