#include "HotKeyCombination.h"

#include <Qt>

namespace quorvane {

namespace {

struct Position {
    std::uint32_t virtualKey;
    Qt::Key key;
    bool keypad = false;
};

constexpr Position positions[] = {
    // Letters.
    {0, Qt::Key_A},
    {1, Qt::Key_S},
    {2, Qt::Key_D},
    {3, Qt::Key_F},
    {4, Qt::Key_H},
    {5, Qt::Key_G},
    {6, Qt::Key_Z},
    {7, Qt::Key_X},
    {8, Qt::Key_C},
    {9, Qt::Key_V},
    {11, Qt::Key_B},
    {12, Qt::Key_Q},
    {13, Qt::Key_W},
    {14, Qt::Key_E},
    {15, Qt::Key_R},
    {16, Qt::Key_Y},
    {17, Qt::Key_T},
    {31, Qt::Key_O},
    {32, Qt::Key_U},
    {34, Qt::Key_I},
    {35, Qt::Key_P},
    {37, Qt::Key_L},
    {38, Qt::Key_J},
    {40, Qt::Key_K},
    {45, Qt::Key_N},
    {46, Qt::Key_M},
    // Digits.
    {18, Qt::Key_1},
    {19, Qt::Key_2},
    {20, Qt::Key_3},
    {21, Qt::Key_4},
    {23, Qt::Key_5},
    {22, Qt::Key_6},
    {26, Qt::Key_7},
    {28, Qt::Key_8},
    {25, Qt::Key_9},
    {29, Qt::Key_0},
    // Marks.
    {24, Qt::Key_Equal},
    {27, Qt::Key_Minus},
    {30, Qt::Key_BracketRight},
    {33, Qt::Key_BracketLeft},
    {39, Qt::Key_Apostrophe},
    {41, Qt::Key_Semicolon},
    {42, Qt::Key_Backslash},
    {43, Qt::Key_Comma},
    {44, Qt::Key_Slash},
    {47, Qt::Key_Period},
    {50, Qt::Key_QuoteLeft},
    {10, Qt::Key_section},
    // Editing and movement.
    {36, Qt::Key_Return},
    {48, Qt::Key_Tab},
    {49, Qt::Key_Space},
    {51, Qt::Key_Backspace},
    {53, Qt::Key_Escape},
    {117, Qt::Key_Delete},
    {114, Qt::Key_Insert},
    {115, Qt::Key_Home},
    {119, Qt::Key_End},
    {116, Qt::Key_PageUp},
    {121, Qt::Key_PageDown},
    {123, Qt::Key_Left},
    {124, Qt::Key_Right},
    {125, Qt::Key_Down},
    {126, Qt::Key_Up},
    // Function keys.
    {122, Qt::Key_F1},
    {120, Qt::Key_F2},
    {99, Qt::Key_F3},
    {118, Qt::Key_F4},
    {96, Qt::Key_F5},
    {97, Qt::Key_F6},
    {98, Qt::Key_F7},
    {100, Qt::Key_F8},
    {101, Qt::Key_F9},
    {109, Qt::Key_F10},
    {103, Qt::Key_F11},
    {111, Qt::Key_F12},
    {105, Qt::Key_F13},
    {107, Qt::Key_F14},
    {113, Qt::Key_F15},
    // Keypad.
    {82, Qt::Key_0, true},
    {83, Qt::Key_1, true},
    {84, Qt::Key_2, true},
    {85, Qt::Key_3, true},
    {86, Qt::Key_4, true},
    {87, Qt::Key_5, true},
    {88, Qt::Key_6, true},
    {89, Qt::Key_7, true},
    {91, Qt::Key_8, true},
    {92, Qt::Key_9, true},
    {65, Qt::Key_Period, true},
    {67, Qt::Key_Asterisk, true},
    {69, Qt::Key_Plus, true},
    {75, Qt::Key_Slash, true},
    {76, Qt::Key_Enter, true},
    {78, Qt::Key_Minus, true},
    {81, Qt::Key_Equal, true},
};

constexpr std::pair<std::uint32_t, Qt::KeyboardModifier> modifierPairs[] = {
    {HotKeySpec::command, Qt::MetaModifier},
    {HotKeySpec::option, Qt::AltModifier},
    {HotKeySpec::control, Qt::ControlModifier},
    {HotKeySpec::shift, Qt::ShiftModifier},
};

} // namespace

std::optional<QKeyCombination> keyCombination(const HotKeySpec &spec)
{
    for (const Position &position : positions) {
        if (position.virtualKey != spec.keyCode)
            continue;
        Qt::KeyboardModifiers modifiers = position.keypad ? Qt::KeypadModifier : Qt::NoModifier;
        for (const auto &[bit, modifier] : modifierPairs) {
            if (spec.modifiers & bit)
                modifiers |= modifier;
        }
        return QKeyCombination(modifiers, position.key);
    }
    return std::nullopt;
}

std::optional<HotKeySpec> hotKeySpec(QKeyCombination combination)
{
    const bool keypad = combination.keyboardModifiers().testFlag(Qt::KeypadModifier);
    for (const Position &position : positions) {
        if (position.key != combination.key() || position.keypad != keypad)
            continue;
        HotKeySpec spec{position.virtualKey, 0};
        for (const auto &[bit, modifier] : modifierPairs) {
            if (combination.keyboardModifiers().testFlag(modifier))
                spec.modifiers |= bit;
        }
        return spec;
    }
    return std::nullopt;
}

} // namespace quorvane
