#include "Keys/KeyCodeTable.h"

#include "HotKeyCombination.h"

#include <Qt>

namespace quorvane::keycodes {

namespace {

constexpr Key table[] = {
    // Letters.
    {0, 38, u"a"},
    {1, 39, u"s"},
    {2, 40, u"d"},
    {3, 41, u"f"},
    {4, 43, u"h"},
    {5, 42, u"g"},
    {6, 52, u"z"},
    {7, 53, u"x"},
    {8, 54, u"c"},
    {9, 55, u"v"},
    {11, 56, u"b"},
    {12, 24, u"q"},
    {13, 25, u"w"},
    {14, 26, u"e"},
    {15, 27, u"r"},
    {16, 29, u"y"},
    {17, 28, u"t"},
    {31, 32, u"o"},
    {32, 30, u"u"},
    {34, 31, u"i"},
    {35, 33, u"p"},
    {37, 46, u"l"},
    {38, 44, u"j"},
    {40, 45, u"k"},
    {45, 57, u"n"},
    {46, 58, u"m"},
    // Digits.
    {18, 10, u"1"},
    {19, 11, u"2"},
    {20, 12, u"3"},
    {21, 13, u"4"},
    {23, 14, u"5"},
    {22, 15, u"6"},
    {26, 16, u"7"},
    {28, 17, u"8"},
    {25, 18, u"9"},
    {29, 19, u"0"},
    // Marks.
    {24, 21, u"="},
    {27, 20, u"-"},
    {30, 35, u"]"},
    {33, 34, u"["},
    {39, 48, u"'"},
    {41, 47, u";"},
    {42, 51, u"\\"},
    {43, 59, u","},
    {44, 61, u"/"},
    {47, 60, u"."},
    {50, 49, u"`"},
    {10, 94, u"§"},
    // Editing and movement.
    {36, 36, nullptr},
    {48, 23, nullptr},
    {49, 65, u" "},
    {51, 22, nullptr},
    {53, 9, nullptr},
    {117, 119, nullptr},
    {114, 118, nullptr},
    {115, 110, nullptr},
    {119, 115, nullptr},
    {116, 112, nullptr},
    {121, 117, nullptr},
    {123, 113, nullptr},
    {124, 114, nullptr},
    {125, 116, nullptr},
    {126, 111, nullptr},
    // Function keys.
    {122, 67, nullptr},
    {120, 68, nullptr},
    {99, 69, nullptr},
    {118, 70, nullptr},
    {96, 71, nullptr},
    {97, 72, nullptr},
    {98, 73, nullptr},
    {100, 74, nullptr},
    {101, 75, nullptr},
    {109, 76, nullptr},
    {103, 95, nullptr},
    {111, 96, nullptr},
    {105, 191, nullptr},
    {107, 192, nullptr},
    {113, 193, nullptr},
    // Keypad.
    {82, 90, u"0"},
    {83, 87, u"1"},
    {84, 88, u"2"},
    {85, 89, u"3"},
    {86, 83, u"4"},
    {87, 84, u"5"},
    {88, 85, u"6"},
    {89, 79, u"7"},
    {91, 80, u"8"},
    {92, 81, u"9"},
    {65, 91, u"."},
    {67, 63, u"*"},
    {69, 86, u"+"},
    {75, 106, u"/"},
    {76, 104, nullptr},
    {78, 82, u"-"},
    {81, 125, u"="},
};

const Key *byVirtualKey(std::uint32_t virtualKey)
{
    for (const Key &key : table) {
        if (key.virtualKey == virtualKey)
            return &key;
    }
    return nullptr;
}

} // namespace

std::span<const Key> all()
{
    return table;
}

std::optional<std::uint8_t> x11KeyCode(std::uint32_t virtualKey)
{
    if (const Key *key = byVirtualKey(virtualKey))
        return key->x11;
    return std::nullopt;
}

std::optional<std::uint32_t> virtualKeyCode(std::uint32_t x11KeyCode)
{
    for (const Key &key : table) {
        if (key.x11 == x11KeyCode)
            return key.virtualKey;
    }
    return std::nullopt;
}

std::optional<QString> usCharacter(std::uint32_t virtualKey)
{
    const Key *key = byVirtualKey(virtualKey);
    if (!key || !key->us)
        return std::nullopt;
    return QString::fromUtf16(key->us);
}

std::optional<std::uint8_t> x11KeyCode(QKeyCombination combination)
{
    // The key at the position whose stored shortcut names the same key (keypad or not).
    const auto keypad = combination.keyboardModifiers() & Qt::KeypadModifier;
    for (const Key &key : table) {
        const auto named = keyCombination(HotKeySpec{key.virtualKey, 0});
        if (named && named->key() == combination.key() && (named->keyboardModifiers() & Qt::KeypadModifier) == keypad)
            return key.x11;
    }
    return std::nullopt;
}

} // namespace quorvane::keycodes
