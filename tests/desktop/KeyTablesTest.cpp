// The translation tables: macOS key codes and flags to X keysyms, and key names to
// the usage ids the mouse types.
#include "desktop/QXToolManagerUI.h"
#include "platform/KeyCodeTable.h"

#include <X11/keysym.h>

#include <gtest/gtest.h>

using namespace platform::keys;

TEST(KeyCodeTableTest, MacKeyCodesBecomeTheKeysymsOfTheSameKey)
{
    struct Row {
        int mac;
        quint32 keysym;
        const char *what;
    };
    const Row rows[] = {
        {0, XK_a, "A is 0"},
        {8, XK_c, "C (copy)"},
        {9, XK_v, "V (paste)"},
        {11, XK_b, "B skips 10"},
        {12, XK_q, "Q of recorded shortcuts"},
        {22, XK_6, "6 comes before 5"},
        {23, XK_5, "5"},
        {29, XK_0, "0"},
        {36, XK_Return, "Return"},
        {48, XK_Tab, "Tab (app switch)"},
        {51, XK_BackSpace, "Mac delete erases backwards"},
        {76, XK_KP_Enter, "keypad Enter"},
        {117, XK_Delete, "forward delete"},
        {122, XK_F1, "F1"},
        {103, XK_F11, "F11"},
        {123, XK_Left, "Left"},
        {124, XK_Right, "Right"},
        {126, XK_Up, "Up"},
    };
    for (const Row &r : rows) {
        const auto sym = keysymForMacKeyCode(r.mac);
        ASSERT_TRUE(sym.has_value()) << r.what;
        EXPECT_EQ(*sym, r.keysym) << r.what;
    }
    for (int unmapped : {10, 52, 54, 55, 56, 59, 127, -1, 1000})
        EXPECT_FALSE(keysymForMacKeyCode(unmapped).has_value()) << unmapped;
}

TEST(KeyCodeTableTest, TableIsSortedWithoutDuplicatesSoLookupFindsEveryRow)
{
    const auto &table = macKeyTable();
    for (size_t i = 1; i < table.size(); ++i)
        EXPECT_LT(table[i - 1].macKeyCode, table[i].macKeyCode) << table[i].name;
    for (const MacKeyMapping &m : table)
        EXPECT_EQ(keysymForMacKeyCode(m.macKeyCode), m.keysym) << m.name;
}

TEST(KeyCodeTableTest, ModifierFlagsBecomeLinuxModifiers)
{
    struct Row {
        quint64 flags;
        std::vector<quint32> keys;
        const char *what;
    };
    const Row rows[] = {
        {0, {}, "no flags"},
        {kFlagCommand, {XK_Control_L}, "command is Control on Linux"},
        {kFlagControl, {XK_Control_L}, "control"},
        {kFlagControl | kFlagCommand, {XK_Control_L}, "Control held once"},
        {kFlagControl | kFlagAlternate, {XK_Control_L, XK_Alt_L}, "control+option"},
        {kFlagShift | kFlagCommand, {XK_Control_L, XK_Shift_L}, "shift+command"},
        {0x100, {}, "the non-coalesced bit is no key"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(modifierKeysymsForFlags(r.flags), r.keys) << r.what;
}

TEST(KeyCodeForStringTest, NamesMapToKeyboardUsageIds)
{
    struct Row {
        QString name;
        int usage;
    };
    const Row rows[] = {{"A", 4},  {"a", 4},  {"z", 29}, {"1", 30}, {"9", 38}, {"0", 39}, {":", 51},
                        {".", 55}, {"-", 45}, {"/", 56}, {"ab", 0}, {"", 0},   {";", 0},  {QString(), 0}};
    for (const Row &r : rows)
        EXPECT_EQ(QXToolManagerUI::keyCodeForString(r.name), r.usage) << r.name.toStdString();
}
