// The four rows no page shows, stacked as a preference page would stack them: the
// low-battery reminder, launch at login (switched on by its first build), problem
// detection and voice broadcast.
#include "SceneWorld.h"

#include "BootupView.h"
#include "ProblemDetectionView.h"
#include "QXLowPowerRemindSettingView.h"
#include "VoiceBroadcastView.h"

#include <QWidget>

namespace {
const SceneRegistrar registered(
    {QStringLiteral("rows-periphery"),
     QStringLiteral("the rows no page shows: low-battery reminder, start at login, problem detection, voice broadcast"),
     {},
     [](SceneWorld &world) {
         auto *page = new QWidget;
         page->resize(880, 480);
         page->setAutoFillBackground(true);
         QPalette palette = page->palette();
         palette.setColor(QPalette::Window, Qt::white);
         page->setPalette(palette);
         int top = 40;
         const auto stack = [&](QWidget *row, int height) {
             row->setGeometry(44, top, 880 - 44, height);
             top += height + 40;
         };
         auto *lowPower = new QXLowPowerRemindSettingView(world.context(), page);
         stack(lowPower, lowPower->viewHeight());
         auto *bootup = new BootupView(world.context(), page);
         stack(bootup, bootup->viewHeight());
         auto *problems = new ProblemDetectionView(world.context(), page);
         stack(problems, problems->viewHeight());
         auto *broadcast = new VoiceBroadcastView(world.context(), page);
         stack(broadcast, broadcast->viewHeight());
         page->resize(880, top);
         return page;
     }});
} // namespace
