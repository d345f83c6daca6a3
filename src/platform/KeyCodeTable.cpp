#include "KeyCodeTable.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <algorithm>
#include <utility>

namespace platform::keys {

const std::vector<MacKeyMapping> &macKeyTable()
{
    // Positions of the ANSI keyboard (the kVK_ codes), sorted by code.
    static const std::vector<MacKeyMapping> table = {
        {0, XK_a, "A", Qt::Key_A},
        {1, XK_s, "S", Qt::Key_S},
        {2, XK_d, "D", Qt::Key_D},
        {3, XK_f, "F", Qt::Key_F},
        {4, XK_h, "H", Qt::Key_H},
        {5, XK_g, "G", Qt::Key_G},
        {6, XK_z, "Z", Qt::Key_Z},
        {7, XK_x, "X", Qt::Key_X},
        {8, XK_c, "C", Qt::Key_C},
        {9, XK_v, "V", Qt::Key_V},
        {11, XK_b, "B", Qt::Key_B},
        {12, XK_q, "Q", Qt::Key_Q},
        {13, XK_w, "W", Qt::Key_W},
        {14, XK_e, "E", Qt::Key_E},
        {15, XK_r, "R", Qt::Key_R},
        {16, XK_y, "Y", Qt::Key_Y},
        {17, XK_t, "T", Qt::Key_T},
        {18, XK_1, "1", Qt::Key_1},
        {19, XK_2, "2", Qt::Key_2},
        {20, XK_3, "3", Qt::Key_3},
        {21, XK_4, "4", Qt::Key_4},
        {22, XK_6, "6", Qt::Key_6},
        {23, XK_5, "5", Qt::Key_5},
        {24, XK_equal, "=", Qt::Key_Equal},
        {25, XK_9, "9", Qt::Key_9},
        {26, XK_7, "7", Qt::Key_7},
        {27, XK_minus, "-", Qt::Key_Minus},
        {28, XK_8, "8", Qt::Key_8},
        {29, XK_0, "0", Qt::Key_0},
        {30, XK_bracketright, "]", Qt::Key_BracketRight},
        {31, XK_o, "O", Qt::Key_O},
        {32, XK_u, "U", Qt::Key_U},
        {33, XK_bracketleft, "[", Qt::Key_BracketLeft},
        {34, XK_i, "I", Qt::Key_I},
        {35, XK_p, "P", Qt::Key_P},
        {36, XK_Return, "Return", Qt::Key_Return},
        {37, XK_l, "L", Qt::Key_L},
        {38, XK_j, "J", Qt::Key_J},
        {39, XK_apostrophe, "'", Qt::Key_Apostrophe},
        {40, XK_k, "K", Qt::Key_K},
        {41, XK_semicolon, ";", Qt::Key_Semicolon},
        {42, XK_backslash, "\\", Qt::Key_Backslash},
        {43, XK_comma, ",", Qt::Key_Comma},
        {44, XK_slash, "/", Qt::Key_Slash},
        {45, XK_n, "N", Qt::Key_N},
        {46, XK_m, "M", Qt::Key_M},
        {47, XK_period, ".", Qt::Key_Period},
        {48, XK_Tab, "Tab", Qt::Key_Tab},
        {49, XK_space, "Space", Qt::Key_Space},
        {50, XK_grave, "`", Qt::Key_QuoteLeft},
        {51, XK_BackSpace, "Delete", Qt::Key_Backspace}, // the Mac "delete" key erases backwards
        {53, XK_Escape, "Escape", Qt::Key_Escape},
        {64, XK_F17, "F17", Qt::Key_F17},
        {65, XK_KP_Decimal, "Keypad .", kKeypad | Qt::Key_Period},
        {67, XK_KP_Multiply, "Keypad *", kKeypad | Qt::Key_Asterisk},
        {69, XK_KP_Add, "Keypad +", kKeypad | Qt::Key_Plus},
        {71, XK_Clear, "Keypad Clear", Qt::Key_Clear},
        {72, XF86XK_AudioRaiseVolume, "Volume Up", Qt::Key_VolumeUp},
        {73, XF86XK_AudioLowerVolume, "Volume Down", Qt::Key_VolumeDown},
        {74, XF86XK_AudioMute, "Mute", Qt::Key_VolumeMute},
        {75, XK_KP_Divide, "Keypad /", kKeypad | Qt::Key_Slash},
        {76, XK_KP_Enter, "Keypad Enter", Qt::Key_Enter},
        {78, XK_KP_Subtract, "Keypad -", kKeypad | Qt::Key_Minus},
        {79, XK_F18, "F18", Qt::Key_F18},
        {80, XK_F19, "F19", Qt::Key_F19},
        {81, XK_KP_Equal, "Keypad =", kKeypad | Qt::Key_Equal},
        {82, XK_KP_0, "Keypad 0", kKeypad | Qt::Key_0},
        {83, XK_KP_1, "Keypad 1", kKeypad | Qt::Key_1},
        {84, XK_KP_2, "Keypad 2", kKeypad | Qt::Key_2},
        {85, XK_KP_3, "Keypad 3", kKeypad | Qt::Key_3},
        {86, XK_KP_4, "Keypad 4", kKeypad | Qt::Key_4},
        {87, XK_KP_5, "Keypad 5", kKeypad | Qt::Key_5},
        {88, XK_KP_6, "Keypad 6", kKeypad | Qt::Key_6},
        {89, XK_KP_7, "Keypad 7", kKeypad | Qt::Key_7},
        {90, XK_F20, "F20", Qt::Key_F20},
        {91, XK_KP_8, "Keypad 8", kKeypad | Qt::Key_8},
        {92, XK_KP_9, "Keypad 9", kKeypad | Qt::Key_9},
        {96, XK_F5, "F5", Qt::Key_F5},
        {97, XK_F6, "F6", Qt::Key_F6},
        {98, XK_F7, "F7", Qt::Key_F7},
        {99, XK_F3, "F3", Qt::Key_F3},
        {100, XK_F8, "F8", Qt::Key_F8},
        {101, XK_F9, "F9", Qt::Key_F9},
        {103, XK_F11, "F11", Qt::Key_F11},
        {105, XK_F13, "F13", Qt::Key_F13},
        {106, XK_F16, "F16", Qt::Key_F16},
        {107, XK_F14, "F14", Qt::Key_F14},
        {109, XK_F10, "F10", Qt::Key_F10},
        {111, XK_F12, "F12", Qt::Key_F12},
        {113, XK_F15, "F15", Qt::Key_F15},
        {114, XK_Insert, "Help", Qt::Key_Insert}, // where PC keyboards have Insert
        {115, XK_Home, "Home", Qt::Key_Home},
        {116, XK_Page_Up, "Page Up", Qt::Key_PageUp},
        {117, XK_Delete, "Forward Delete", Qt::Key_Delete},
        {118, XK_F4, "F4", Qt::Key_F4},
        {119, XK_End, "End", Qt::Key_End},
        {120, XK_F2, "F2", Qt::Key_F2},
        {121, XK_Page_Down, "Page Down", Qt::Key_PageDown},
        {122, XK_F1, "F1", Qt::Key_F1},
        {123, XK_Left, "Left", Qt::Key_Left},
        {124, XK_Right, "Right", Qt::Key_Right},
        {125, XK_Down, "Down", Qt::Key_Down},
        {126, XK_Up, "Up", Qt::Key_Up},
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

std::optional<int> macKeyCodeForQtKey(int qtKey, bool keypad)
{
    // What Qt reports with Shift held on a US layout, and the key it is typed on.
    static constexpr std::pair<int, int> kShifted[] = {
        {Qt::Key_Exclam, Qt::Key_1},
        {Qt::Key_At, Qt::Key_2},
        {Qt::Key_NumberSign, Qt::Key_3},
        {Qt::Key_Dollar, Qt::Key_4},
        {Qt::Key_Percent, Qt::Key_5},
        {Qt::Key_AsciiCircum, Qt::Key_6},
        {Qt::Key_Ampersand, Qt::Key_7},
        {Qt::Key_Asterisk, Qt::Key_8},
        {Qt::Key_ParenLeft, Qt::Key_9},
        {Qt::Key_ParenRight, Qt::Key_0},
        {Qt::Key_Underscore, Qt::Key_Minus},
        {Qt::Key_Plus, Qt::Key_Equal},
        {Qt::Key_BraceLeft, Qt::Key_BracketLeft},
        {Qt::Key_BraceRight, Qt::Key_BracketRight},
        {Qt::Key_Bar, Qt::Key_Backslash},
        {Qt::Key_Colon, Qt::Key_Semicolon},
        {Qt::Key_QuoteDbl, Qt::Key_Apostrophe},
        {Qt::Key_Less, Qt::Key_Comma},
        {Qt::Key_Greater, Qt::Key_Period},
        {Qt::Key_Question, Qt::Key_Slash},
        {Qt::Key_AsciiTilde, Qt::Key_QuoteLeft},
        {Qt::Key_Backtab, Qt::Key_Tab},
    };
    const auto find = [](int key) -> std::optional<int> {
        for (const MacKeyMapping &m : macKeyTable())
            if (m.qtKey == key)
                return m.macKeyCode;
        return std::nullopt;
    };
    if (keypad)
        if (auto code = find(qtKey | kKeypad))
            return code;
    if (auto code = find(qtKey))
        return code;
    for (const auto &[shifted, key] : kShifted)
        if (shifted == qtKey)
            return find(key);
    return std::nullopt;
}

std::optional<quint64> macFlagsForQtModifiers(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::MetaModifier)
        return std::nullopt;
    quint64 flags = 0;
    if (modifiers & Qt::ControlModifier)
        flags |= kFlagCommand;
    if (modifiers & Qt::AltModifier)
        flags |= kFlagAlternate;
    if (modifiers & Qt::ShiftModifier)
        flags |= kFlagShift;
    return flags;
}

QString modifierSymbolsForFlags(quint64 macFlags)
{
    QString symbols;
    if (macFlags & kFlagControl)
        symbols += QChar(0x2303); // ⌃
    if (macFlags & kFlagAlternate)
        symbols += QChar(0x2325); // ⌥
    if (macFlags & kFlagShift)
        symbols += QChar(0x21E7); // ⇧
    if (macFlags & kFlagCommand)
        symbols += QChar(0x2318); // ⌘
    return symbols;
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
