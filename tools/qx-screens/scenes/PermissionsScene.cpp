// The permissions window with a row in each state: missing (with its remedy),
// granted, and undetermined (as built, waiting for an answer).
#include "SceneWorld.h"

#include "FakeDesktop.h"
#include "FakePermissionProbe.h"
#include "QXLanguageManager.h"
#include "windows/QXAuthorityManagementWindowController.h"

#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

using platform::PermissionKind;
using platform::PermissionRemedy;
using platform::PermissionState;

// What a missing row reports, per row.
const PermissionRemedy kRemedies[] = {PermissionRemedy::XTestExtension, PermissionRemedy::UdevRule,
                                      PermissionRemedy::X11Session};

QWidget *build(SceneWorld &world)
{
    static QXLanguageManager languages(world.store());
    QXLanguageManager::setSharedInstance(&languages);
    languages.setUiLanguageIndex(quint64(world.intOption(QStringLiteral("language"))));

    static FakePermissionProbe probe;
    static FakeWorkspace workspace;
    const QString rows = world.option(QStringLiteral("rows"));
    if (rows.size() != platform::kPermissionKindCount) {
        std::fprintf(stderr, "qx-screens permissions: --rows wants three of G, D, U\n");
        std::exit(2);
    }
    for (int row = 0; row < platform::kPermissionKindCount; ++row) {
        const QChar c = rows[row].toUpper();
        const PermissionState state = c == u'G'   ? PermissionState::Granted
                                      : c == u'D' ? PermissionState::Denied
                                                  : PermissionState::Undetermined;
        if (state == PermissionState::Denied)
            probe.set(PermissionKind(row), state, kRemedies[row], QStringLiteral("/dev/hidraw3 (25ba:24ab): denied"));
        else
            probe.set(PermissionKind(row), state);
    }
    // The tool owns what it renders: a host holding the window, then the controller,
    // which are deleted in that order.
    auto *host = new QWidget;
    auto *controller =
        new QXAuthorityManagementWindowController({&probe, &workspace, QStringLiteral("/usr/share/help.html")});
    QWidget *window = controller->window();
    window->setParent(host);
    controller->setParent(host);
    host->setFixedSize(window->size());
    return host;
}

const SceneRegistrar reg({QStringLiteral("permissions"),
                          QStringLiteral("permissions window: a missing, a granted and an undetermined row"),
                          {{QStringLiteral("rows"), QStringLiteral("DGU"),
                            QStringLiteral("the rows' states: G granted, D missing, U undetermined")},
                           {QStringLiteral("language"), QStringLiteral("0"),
                            QStringLiteral("interface language index (0 Simplified Chinese, 2 English)")}},
                          build});
} // namespace
