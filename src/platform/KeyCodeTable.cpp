#include "KeyCodeTable.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <algorithm>

namespace platform::keys {

const std::vector<MacKeyMapping> &macKeyTable()
{
    // Positions of the ANSI keyboard (the kVK_ codes), sorted by code.
    static const std::vector<MacKeyMapping> table = {
        {0, XK_a, "A"},
        {1, XK_s, "S"},
        {2, XK_d, "D"},
        {3, XK_f, "F"},
        {4, XK_h, "H"},
        {5, XK_g, "G"},
        {6, XK_z, "Z"},
        {7, XK_x, "X"},
        {8, XK_c, "C"},
        {9, XK_v, "V"},
        {11, XK_b, "B"},
        {12, XK_q, "Q"},
        {13, XK_w, "W"},
        {14, XK_e, "E"},
        {15, XK_r, "R"},
        {16, XK_y, "Y"},
        {17, XK_t, "T"},
        {18, XK_1, "1"},
        {19, XK_2, "2"},
        {20, XK_3, "3"},
        {21, XK_4, "4"},
        {22, XK_6, "6"},
        {23, XK_5, "5"},
        {24, XK_equal, "="},
        {25, XK_9, "9"},
        {26, XK_7, "7"},
        {27, XK_minus, "-"},
        {28, XK_8, "8"},
        {29, XK_0, "0"},
        {30, XK_bracketright, "]"},
        {31, XK_o, "O"},
        {32, XK_u, "U"},
        {33, XK_bracketleft, "["},
        {34, XK_i, "I"},
        {35, XK_p, "P"},
        {36, XK_Return, "Return"},
        {37, XK_l, "L"},
        {38, XK_j, "J"},
        {39, XK_apostrophe, "'"},
        {40, XK_k, "K"},
        {41, XK_semicolon, ";"},
        {42, XK_backslash, "\\"},
        {43, XK_comma, ","},
        {44, XK_slash, "/"},
        {45, XK_n, "N"},
        {46, XK_m, "M"},
        {47, XK_period, "."},
        {48, XK_Tab, "Tab"},
        {49, XK_space, "Space"},
        {50, XK_grave, "`"},
        {51, XK_BackSpace, "Delete"}, // the Mac "delete" key erases backwards
        {53, XK_Escape, "Escape"},
        {64, XK_F17, "F17"},
        {65, XK_KP_Decimal, "Keypad ."},
        {67, XK_KP_Multiply, "Keypad *"},
        {69, XK_KP_Add, "Keypad +"},
        {71, XK_Clear, "Keypad Clear"},
        {72, XF86XK_AudioRaiseVolume, "Volume Up"},
        {73, XF86XK_AudioLowerVolume, "Volume Down"},
        {74, XF86XK_AudioMute, "Mute"},
        {75, XK_KP_Divide, "Keypad /"},
        {76, XK_KP_Enter, "Keypad Enter"},
        {78, XK_KP_Subtract, "Keypad -"},
        {79, XK_F18, "F18"},
        {80, XK_F19, "F19"},
        {81, XK_KP_Equal, "Keypad ="},
        {82, XK_KP_0, "Keypad 0"},
        {83, XK_KP_1, "Keypad 1"},
        {84, XK_KP_2, "Keypad 2"},
        {85, XK_KP_3, "Keypad 3"},
        {86, XK_KP_4, "Keypad 4"},
        {87, XK_KP_5, "Keypad 5"},
        {88, XK_KP_6, "Keypad 6"},
        {89, XK_KP_7, "Keypad 7"},
        {90, XK_F20, "F20"},
        {91, XK_KP_8, "Keypad 8"},
        {92, XK_KP_9, "Keypad 9"},
        {96, XK_F5, "F5"},
        {97, XK_F6, "F6"},
        {98, XK_F7, "F7"},
        {99, XK_F3, "F3"},
        {100, XK_F8, "F8"},
        {101, XK_F9, "F9"},
        {103, XK_F11, "F11"},
        {105, XK_F13, "F13"},
        {106, XK_F16, "F16"},
        {107, XK_F14, "F14"},
        {109, XK_F10, "F10"},
        {111, XK_F12, "F12"},
        {113, XK_F15, "F15"},
        {114, XK_Insert, "Help"}, // where PC keyboards have Insert
        {115, XK_Home, "Home"},
        {116, XK_Page_Up, "Page Up"},
        {117, XK_Delete, "Forward Delete"},
        {118, XK_F4, "F4"},
        {119, XK_End, "End"},
        {120, XK_F2, "F2"},
        {121, XK_Page_Down, "Page Down"},
        {122, XK_F1, "F1"},
        {123, XK_Left, "Left"},
        {124, XK_Right, "Right"},
        {125, XK_Down, "Down"},
        {126, XK_Up, "Up"},
    };
    return table;
}

std::optional<quint32> keysymForMacKeyCode(int macKeyCode)
{
    const auto &table = macKeyTable();
    auto it = std::lower_bound(table.begin(), table.end(), macKeyCode,
                               [](const MacKeyMapping &m, int code) { return m.macKeyCode < code; });
    if (it == table.end() || it->macKeyCode != macKeyCode)
        return std::nullopt;
    return it->keysym;
}

std::vector<quint32> modifierKeysymsForFlags(quint64 macFlags)
{
    std::vector<quint32> keys;
    if (macFlags & (kFlagControl | kFlagCommand))
        keys.push_back(XK_Control_L);
    if (macFlags & kFlagAlternate)
        keys.push_back(XK_Alt_L);
    if (macFlags & kFlagShift)
        keys.push_back(XK_Shift_L);
    return keys;
}

} // namespace platform::keys
