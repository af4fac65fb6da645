#pragma once

#include <QRegularExpression>
#include <QStringList>

namespace quorvane::test {

// The first word or key glyph of another platform in the texts, empty when there is none:
// the desktop's own facilities have their own names, and shortcuts read "Ctrl+Alt+D".
inline QString foreignWord(const QStringList &texts)
{
    static const QRegularExpression words(
        QStringLiteral("macOS|Finder|Spotlight|iCloud|\\bMac\\b|[\u2318\u2325\u2303\u21E7]"));
    for (const QString &text : texts) {
        if (const QRegularExpressionMatch match = words.match(text); match.hasMatch())
            return match.captured() + QStringLiteral(" in “") + text + QStringLiteral("”");
    }
    return {};
}

} // namespace quorvane::test
