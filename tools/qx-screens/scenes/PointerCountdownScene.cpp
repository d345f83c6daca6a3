// The presentation countdown: the black screen with the time left.
#include "PointerDesk.h"

namespace {
const SceneRegistrar reg({QStringLiteral("countdown"),
                          QStringLiteral("presentation pointer: the black screen with the countdown"),
                          {{QStringLiteral("text"), QStringLiteral("14分59秒"), QStringLiteral("time left")}},
                          [](SceneWorld &world) {
                              const QSize size(1024, 640);
                              auto *w = new PointerOverlay(nullptr, OverlayWindow::Kind::Snapshot, {},
                                                           PointerOverlay::Effect::Black, {});
                              w->resize(size);
                              w->setCountdownText(world.option(QStringLiteral("text")));
                              return w;
                          }});
} // namespace
