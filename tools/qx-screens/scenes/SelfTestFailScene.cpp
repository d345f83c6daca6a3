// The self-test page with no device and the maker's server out of reach.
#include "SelfTestPage.h"

namespace {
const SceneRegistrar
    registered({QStringLiteral("selftest-fail"),
                QStringLiteral("self-test page: no mouse, internet reached, server not"),
                {{QStringLiteral("net"), QStringLiteral("ok"), QStringLiteral("the internet probe: ok or fail")}},
                [](SceneWorld &world) {
                    const bool internet = world.option(QStringLiteral("net")) == "ok";
                    return buildSelfTestPage(world, false, internet, false);
                }});
} // namespace
