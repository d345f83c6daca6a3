// The device settings page as the main window's right side shows it (880 x 720): the
// key blocks of a stored profile, the auxiliary block with DPI and report rate, the
// product picture (served from a file), the AI button and, for product "41", the RGB
// switch.
#include "SceneWorld.h"

#include "HRVLocalizedString.h"
#include "KeyValueStore.h"
#include "MouseSettingViewController.h"
#include "QXLanguageManager.h"
#include "QXUserInfoData.h"
#include "services/LanguageHooks.h"

#include <QFile>
#include <QJsonDocument>

namespace {

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(":/screens/%1").arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QWidget *build(SceneWorld &world)
{
    const QString product = world.option(QStringLiteral("product"));
    QXLanguageManager &languages = world.pages().data.languages();
    languages.setUiLanguageIndex(quint64(world.intOption(QStringLiteral("lang"))));
    languages.shouldRefreshData();
    // The key names follow the interface language, as in the application.
    const LanguageHooks previous =
        installLanguageHooks({[&languages] { return languages.readUILanguageCode(); },
                              {},
                              [](const QString &source) { return hrvAppLocalizedString(source); }});
    QXUserInfoData &state = world.state();
    state.setProductCode(product);
    state.setChipPlan(7);
    state.mouseInfoItem().setIcType(1);
    state.mouseInfoItem().setSn(QStringLiteral("S9"));
    state.mouseInfoItem().setDpi(2);
    state.setReportRate(500);
    world.pages().ports.images.insert(QUrl(QStringLiteral("http://img.example/mouse.png")),
                                      fixture("product_mouse.png"));
    // The profile comes from the cache, as after an earlier fetch.
    const QJsonObject profile = QJsonDocument::fromJson(fixture("profile_keys.json")).object();
    world.store().setValue(product + QStringLiteral("_S9"),
                           QString::fromUtf8(QJsonDocument(profile).toJson(QJsonDocument::Compact)));
    if (world.option(QStringLiteral("rgb")) == QLatin1String("on"))
        state.setRgbSwitch(true);

    auto *host = new QWidget;
    host->resize(880, 720);
    auto *page = new MouseSettingViewController(world.context());
    QObject::connect(host, &QObject::destroyed, [page, previous] {
        delete page;
        installLanguageHooks(previous);
    });
    page->view()->setParent(host);
    page->view()->setGeometry(host->rect());
    if (world.option(QStringLiteral("rgb")) == QLatin1String("on"))
        page->updateLightingEffects();
    return host;
}

const bool registered = [] {
    SceneRegistry::instance().add(
        {QStringLiteral("mouse-settings"),
         QStringLiteral("device settings page: three key blocks, DPI and report rate, product picture, AI button"),
         {{QStringLiteral("lang"), QStringLiteral("0"), QStringLiteral("interface language index (2: English)")},
          {QStringLiteral("product"), QStringLiteral("523"), QStringLiteral("product code (41: with the RGB switch)")},
          {QStringLiteral("rgb"), QStringLiteral("off"), QStringLiteral("on: the device reported its lighting on")}},
         build});
    return true;
}();
} // namespace
