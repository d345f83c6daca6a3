// The self-test page with every link sound.
#include "SelfTestPage.h"

namespace {
const SceneRegistrar registered({QStringLiteral("selftest-ok"),
                                 QStringLiteral("self-test page: mouse, computer, internet and server all reached"),
                                 {},
                                 [](SceneWorld &world) { return buildSelfTestPage(world, true, true, true); }});
} // namespace
