#include "Triggers/KeyNames.h"

#include "Keys/KeyLayout.h"

#include <array>

namespace quorvane {

namespace {

struct SpecialKey {
    std::uint32_t code;
    const char16_t *name;
};

// The names Linux desktops give these keys in shortcuts.
constexpr std::array<SpecialKey, 26> specialKeys{{
    {49, u"Space"},
    {36, u"Return"},
    {48, u"Tab"},
    {53, u"Esc"},
    {51, u"Backspace"},
    {117, u"Delete"},
    {123, u"Left"},
    {124, u"Right"},
    {126, u"Up"},
    {125, u"Down"},
    {115, u"Home"},
    {119, u"End"},
    {116, u"Page Up"},
    {121, u"Page Down"},
    {122, u"F1"},
    {120, u"F2"},
    {99, u"F3"},
    {118, u"F4"},
    {96, u"F5"},
    {97, u"F6"},
    {98, u"F7"},
    {100, u"F8"},
    {101, u"F9"},
    {109, u"F10"},
    {103, u"F11"},
    {111, u"F12"},
}};

const KeyLayout *currentLayout = nullptr;

const KeyLayout &layout()
{
    static const UsKeyLayout us;
    return currentLayout ? *currentLayout : us;
}

} // namespace

QString modifierGlyphs(std::uint32_t mask)
{
    QString out;
    if (mask & HotKeySpec::control)
        out += QStringLiteral("Ctrl+");
    if (mask & HotKeySpec::option)
        out += QStringLiteral("Alt+");
    if (mask & HotKeySpec::shift)
        out += QStringLiteral("Shift+");
    if (mask & HotKeySpec::command)
        out += QStringLiteral("Super+");
    return out;
}

QString keyName(std::uint32_t keyCode)
{
    for (const SpecialKey &key : specialKeys) {
        if (key.code == keyCode)
            return QString::fromUtf16(key.name);
    }
    if (auto printable = printableKeyName(keyCode))
        return *printable;
    return QStringLiteral("Key %1").arg(keyCode);
}

std::optional<QString> printableKeyName(std::uint32_t keyCode)
{
    // Recorded codes are 16-bit; a larger stored one names no key of any layout.
    if (keyCode > 0xFFFF)
        return std::nullopt;
    const std::optional<QString> text = layout().characters(keyCode);
    if (!text || text->isEmpty())
        return std::nullopt;
    // Control characters (a keypad Enter's carriage return) are no name to show.
    for (const QChar c : *text) {
        if (c.category() == QChar::Other_Control)
            return std::nullopt;
    }
    return text->toUpper();
}

QString shortcutText(const HotKeySpec &spec)
{
    return modifierGlyphs(spec.modifiers) + keyName(spec.keyCode);
}

void useKeyLayout(const KeyLayout *layout)
{
    currentLayout = layout;
}

} // namespace quorvane
