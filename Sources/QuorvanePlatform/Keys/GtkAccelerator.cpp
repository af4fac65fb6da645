#include "Keys/GtkAccelerator.h"

#include <QStringList>

#include <utility>

namespace quorvane::gtkaccel {

namespace {

std::optional<QString> keyName(Qt::Key key, bool keypad)
{
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return QStringLiteral("KP_%1").arg(int(key - Qt::Key_0));
        static const std::pair<Qt::Key, const char *> pad[] = {
            {Qt::Key_Period, "KP_Decimal"},
            {Qt::Key_Asterisk, "KP_Multiply"},
            {Qt::Key_Plus, "KP_Add"},
            {Qt::Key_Slash, "KP_Divide"},
            {Qt::Key_Enter, "KP_Enter"},
            {Qt::Key_Minus, "KP_Subtract"},
            {Qt::Key_Equal, "KP_Equal"},
        };
        for (const auto &[padKey, name] : pad) {
            if (padKey == key)
                return QString::fromLatin1(name);
        }
        return std::nullopt;
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return QString(QChar(key)).toLower();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(int(key - Qt::Key_F1) + 1);
    static const std::pair<Qt::Key, const char *> named[] = {
        {Qt::Key_Equal, "equal"},
        {Qt::Key_Minus, "minus"},
        {Qt::Key_BracketRight, "bracketright"},
        {Qt::Key_BracketLeft, "bracketleft"},
        {Qt::Key_Apostrophe, "apostrophe"},
        {Qt::Key_Semicolon, "semicolon"},
        {Qt::Key_Backslash, "backslash"},
        {Qt::Key_Comma, "comma"},
        {Qt::Key_Slash, "slash"},
        {Qt::Key_Period, "period"},
        {Qt::Key_QuoteLeft, "grave"},
        {Qt::Key_section, "section"},
        {Qt::Key_Space, "space"},
        {Qt::Key_Return, "Return"},
        {Qt::Key_Enter, "KP_Enter"},
        {Qt::Key_Tab, "Tab"},
        {Qt::Key_Backspace, "BackSpace"},
        {Qt::Key_Escape, "Escape"},
        {Qt::Key_Delete, "Delete"},
        {Qt::Key_Insert, "Insert"},
        {Qt::Key_Home, "Home"},
        {Qt::Key_End, "End"},
        {Qt::Key_PageUp, "Page_Up"},
        {Qt::Key_PageDown, "Page_Down"},
        {Qt::Key_Left, "Left"},
        {Qt::Key_Right, "Right"},
        {Qt::Key_Up, "Up"},
        {Qt::Key_Down, "Down"},
    };
    for (const auto &[namedKey, name] : named) {
        if (namedKey == key)
            return QString::fromLatin1(name);
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> accelerator(QKeyCombination combination)
{
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    const auto name = keyName(combination.key(), modifiers.testFlag(Qt::KeypadModifier));
    if (!name)
        return std::nullopt;
    QString text;
    if (modifiers & Qt::ShiftModifier)
        text += QLatin1String("<Shift>");
    if (modifiers & Qt::ControlModifier)
        text += QLatin1String("<Control>");
    if (modifiers & Qt::AltModifier)
        text += QLatin1String("<Alt>");
    if (modifiers & Qt::MetaModifier)
        text += QLatin1String("<Super>");
    return text + *name;
}

QString normalized(const QString &accelerator)
{
    QString rest = accelerator.trimmed();
    if (rest.isEmpty() || rest.compare(QLatin1String("disabled"), Qt::CaseInsensitive) == 0)
        return {};
    QStringList modifiers;
    while (rest.startsWith(QLatin1Char('<'))) {
        const qsizetype end = rest.indexOf(QLatin1Char('>'));
        if (end < 0)
            break;
        QString modifier = rest.mid(1, end - 1).toLower();
        if (modifier == QLatin1String("ctrl") || modifier == QLatin1String("primary") || modifier == QLatin1String("ctl"))
            modifier = QStringLiteral("control");
        else if (modifier == QLatin1String("mod1"))
            modifier = QStringLiteral("alt");
        else if (modifier == QLatin1String("mod4"))
            modifier = QStringLiteral("super");
        if (!modifiers.contains(modifier))
            modifiers << modifier;
        rest = rest.mid(end + 1);
    }
    modifiers.sort();
    return modifiers.join(QLatin1Char('+')) + QLatin1Char('|') + rest.toLower();
}

} // namespace quorvane::gtkaccel
