// The presentation countdown: the black screen with the time left, written in the
// interface language as the pointer's countdown writes it.
#include "PointerDesk.h"

#include "HRVLocalizedString.h"
#include "PZString.h"

namespace {
const SceneRegistrar reg({QStringLiteral("countdown"),
                          QStringLiteral("presentation pointer: the black screen with the countdown"),
                          {{QStringLiteral("seconds"), QStringLiteral("899"), QStringLiteral("time left, in seconds")}},
                          [](SceneWorld &world) {
                              const QSize size(1024, 640);
                              auto *w = new PointerOverlay(nullptr, OverlayWindow::Kind::Snapshot, {},
                                                           PointerOverlay::Effect::Black, {});
                              w->resize(size);
                              w->setCountdownText(
                                  pz::secondToStr(world.intOption(QStringLiteral("seconds")), hrvAppLocalizedString));
                              return w;
                          }});
} // namespace
