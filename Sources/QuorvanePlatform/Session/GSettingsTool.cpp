#include "Session/GSettingsTool.h"

namespace quorvane::gsettings {

Result run(const QStringList &arguments)
{
    return runTool(QStringLiteral("gsettings"), arguments);
}

std::optional<QString> unquoted(const QString &value)
{
    if (value.size() < 2 || !value.startsWith(QLatin1Char('\'')) || !value.endsWith(QLatin1Char('\'')))
        return std::nullopt;
    QString inner = value.mid(1, value.size() - 2);
    if (inner.contains(QLatin1Char('\\')) || inner.contains(QLatin1Char('\'')))
        return std::nullopt; // an escaped text: left alone rather than misread
    return inner;
}

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

std::optional<QStringList> strings(const QString &value)
{
    QString text = value.trimmed();
    if (text.startsWith(QLatin1String("@as ")))
        text = text.mid(4).trimmed();
    const bool array = text.startsWith(QLatin1Char('['));
    if (array && !text.endsWith(QLatin1Char(']')))
        return std::nullopt;
    const QString inner = array ? text.mid(1, text.size() - 2) : text;
    QStringList texts;
    qsizetype at = 0;
    const auto skipSpace = [&] {
        while (at < inner.size() && inner.at(at).isSpace())
            ++at;
    };
    skipSpace();
    while (at < inner.size()) {
        const QChar quote = inner.at(at);
        if (quote != QLatin1Char('\'') && quote != QLatin1Char('"'))
            return std::nullopt;
        QString item;
        bool closed = false;
        for (++at; at < inner.size(); ++at) {
            const QChar c = inner.at(at);
            if (c == QLatin1Char('\\') && at + 1 < inner.size()) {
                item += inner.at(++at);
            } else if (c == quote) {
                closed = true;
                ++at;
                break;
            } else {
                item += c;
            }
        }
        if (!closed)
            return std::nullopt;
        texts << item;
        skipSpace();
        if (at < inner.size()) {
            if (!array || inner.at(at) != QLatin1Char(','))
                return std::nullopt;
            ++at;
            skipSpace();
        }
    }
    if (!array && texts.size() != 1)
        return std::nullopt;
    return texts;
}

QString quotedList(const QStringList &texts)
{
    if (texts.isEmpty())
        return QStringLiteral("@as []");
    QStringList items;
    for (const QString &text : texts)
        items << quoted(text);
    return QLatin1Char('[') + items.join(QLatin1String(", ")) + QLatin1Char(']');
}

} // namespace quorvane::gsettings
