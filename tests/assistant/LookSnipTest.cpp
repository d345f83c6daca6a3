// The capture's tool bar stays on the screen beside the selection.
#include "SnipGeometry.h"

#include <gtest/gtest.h>

TEST(LookSnipToolBar, StaysOnTheScreenBesideTheSelection)
{
    const QRectF screen(0, 0, 1440, 900);
    const struct {
        const char *what;
        QRectF sel, bar;
    } rows[] = {
        {"room below: under it, right edges aligned", {100, 600, 200, 100}, {100, 710, 200, 40}},
        {"at the bottom: above it", {300, 800, 400, 100}, {500, 750, 200, 40}},
        {"the whole screen: inside its bottom", {0, 0, 1440, 900}, {1240, 850, 200, 40}},
        {"narrow at the left edge: moved right", {10, 850, 50, 40}, {0, 800, 200, 40}},
    };
    for (const auto &r : rows)
        EXPECT_EQ(snipgeometry::toolBarFrame(r.sel, screen), r.bar) << r.what;
}
