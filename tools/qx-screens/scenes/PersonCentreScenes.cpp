// The personal centre and its pages, each on the centre's dark ground: the account
// strip, the change-password form, the recharge grid, the inert login panel (in code
// mode with its QR code) and the whole centre with the transcription page of tab 1.
#include "SceneWorld.h"

#include "DataPaths.h"
#include "FakeDesktop.h"
#include "QXLoginView.h"
#include "QXModifyPasswordView.h"
#include "QXPersonCenterView.h"
#include "QXRechargeView.h"
#include "QXTransferAudioView.h"
#include "QXUserInfoView.h"
#include "sqlite/WQSSqliteOperation.h"

#include <QDir>

namespace {

// A dark host holding one page at an inset.
QWidget *onGround(QWidget *page, QSize size, QPoint at = {20, 20})
{
    auto *host = new QXBaseView;
    host->setLayerBackgroundColor(QColor(28, 28, 29));
    host->setFixedSize(size);
    page->setParent(host);
    page->move(at);
    return host;
}

struct CentreWorld : QObject {
    explicit CentreWorld(const QString &root) : table(QDir(root).filePath(QStringLiteral("jobs.sqlite"))) {}
    WQSSqliteOperation table;
    FakeFileRevealer revealer;
};

QWidget *centre(SceneWorld &world)
{
    auto *w = new CentreWorld(DataPaths::dataRoot());
    w->table.createTableWithtableName<QXTransferAudioModel>(QString::fromLatin1(QXTransferAudioView::kTableName));
    auto *page = new QXPersonCenterView([w, &world](QWidget *parent) -> QXBaseView * {
        QXTransferAudioView::Deps deps;
        deps.table = &w->table;
        deps.state = &world.state();
        deps.files = &world.pages().files;
        deps.revealer = &w->revealer;
        deps.clock = &world.scheduler().clock();
        return new QXTransferAudioView(std::move(deps), parent);
    });
    w->setParent(page);
    page->resize(900, 600);
    return onGround(page, {900, 600}, {0, 0});
}

const bool registered = [] {
    const QList<SceneOption> none;
    SceneRegistry &r = SceneRegistry::instance();
    r.add({QStringLiteral("userinfo"), QStringLiteral("personal centre: the account strip"), none, [](SceneWorld &) {
               auto *strip = new QXUserInfoView;
               strip->resize(860, 70);
               return onGround(strip, {900, 110});
           }});
    r.add({QStringLiteral("modify-password"), QStringLiteral("personal centre: the change-password form"), none,
           [](SceneWorld &) {
               auto *form = new QXModifyPasswordView;
               form->resize(400, 300);
               return onGround(form, {440, 340});
           }});
    r.add({QStringLiteral("recharge"), QStringLiteral("personal centre: the recharge grid, first tile selected"), none,
           [](SceneWorld &) {
               auto *form = new QXRechargeView;
               form->resize(600, 400);
               return onGround(form, {640, 440});
           }});
    r.add({QStringLiteral("login-panel"), QStringLiteral("personal centre: the inert login panel in code mode"), none,
           [](SceneWorld &) {
               auto *panel = new QXLoginView;
               panel->resize(700, 400);
               panel->initUIData();
               return onGround(panel, {700, 400}, {0, 0});
           }});
    r.add({QStringLiteral("person-center"),
           QStringLiteral("personal centre: strip, four tabs with the first selected, and the transcription page"),
           none, centre});
    return true;
}();

} // namespace
