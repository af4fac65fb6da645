#include "DesktopHosts/IconKeyFile.h"

#include "DesktopHosts/DesktopIconHost.h"

namespace quorvane {

namespace {

bool isComment(const QString &line)
{
    return line.startsWith(QLatin1Char('#'));
}

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

bool isHeader(const QString &line)
{
    const QString trimmed = line.trimmed();
    return trimmed.size() >= 2 && trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

// The key of a "key=value" line, trimmed; empty when the line is none.
QString keyOf(const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals <= 0 ? QString() : line.left(equals).trimmed();
}

} // namespace

IconKeyFile::IconKeyFile(bool escapedNames)
    : m_escapedNames(escapedNames)
{
}

QString IconKeyFile::encoded(const QString &name) const
{
    if (!m_escapedNames)
        return name;
    QString out;
    for (const QChar c : name) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

QString IconKeyFile::decoded(const QString &header) const
{
    const QString trimmed = header.trimmed();
    const QString raw = trimmed.mid(1, trimmed.size() - 2);
    if (!m_escapedNames)
        return raw;
    QString out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == QLatin1Char('\\') && i + 1 < raw.size()) {
            const QChar next = raw[++i];
            out += next == QLatin1Char('n') ? QChar(u'\n') : next == QLatin1Char('r') ? QChar(u'\r')
                                                                                      : next;
        } else {
            out += raw[i];
        }
    }
    return out;
}

void IconKeyFile::parse(const QString &text)
{
    m_preamble.clear();
    m_groups.clear();
    m_index.clear();
    m_endsWithNewline = text.isEmpty() || text.endsWith(QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (m_endsWithNewline)
        lines.removeLast();
    for (const QString &line : lines) {
        if (isHeader(line)) {
            m_groups.push_back(Group{decoded(line), {line}});
            m_index[m_groups.back().name].push_back(m_groups.size() - 1);
            continue;
        }
        if (!isBlank(line) && !isComment(line) && keyOf(line).isEmpty())
            throw IconStoreError(QStringLiteral("not a key file line: ") + line.left(80));
        if (m_groups.empty())
            m_preamble.append(line);
        else
            m_groups.back().lines.append(line);
    }
}

QString IconKeyFile::text() const
{
    QStringList lines = m_preamble;
    for (const Group &group : m_groups) {
        if (!group.removed)
            lines += group.lines;
    }
    QString out = lines.join(QLatin1Char('\n'));
    if (m_endsWithNewline && !lines.isEmpty())
        out += QLatin1Char('\n');
    return out;
}

bool IconKeyFile::canHold(const QString &name) const
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('[') || c == QLatin1Char(']'))
            return false;
        const bool escapable = m_escapedNames && (c == QLatin1Char('\n') || c == QLatin1Char('\r'));
        if (c.unicode() < 0x20 && !escapable)
            return false;
        if (c.unicode() == 0x7f)
            return false;
    }
    return true;
}

IconKeyFile::Group *IconKeyFile::find(const QString &name)
{
    const auto it = m_index.constFind(name);
    return it == m_index.cend() ? nullptr : &m_groups[it.value().back()];
}

const IconKeyFile::Group *IconKeyFile::find(const QString &name) const
{
    return const_cast<IconKeyFile *>(this)->find(name);
}

bool IconKeyFile::hasGroup(const QString &name) const
{
    return find(name) != nullptr;
}

std::optional<qint64> IconKeyFile::integer(const QString &group, const QString &key) const
{
    const Group *found = find(group);
    if (!found)
        return std::nullopt;
    for (qsizetype i = found->lines.size() - 1; i >= 1; --i) {
        const QString &line = found->lines[i];
        if (keyOf(line) != key)
            continue;
        bool ok = false;
        const qint64 value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(value) : std::nullopt;
    }
    return std::nullopt;
}

void IconKeyFile::setIntegers(const QString &group, const std::vector<std::pair<QString, qint64>> &values)
{
    Group *found = find(group);
    if (!found) {
        // A blank line between groups, as the hosts write them.
        Group *last = nullptr;
        for (auto it = m_groups.rbegin(); it != m_groups.rend() && !last; ++it)
            last = it->removed ? nullptr : &*it;
        if (last && !isBlank(last->lines.back()))
            last->lines.append(QString());
        else if (!last && !m_preamble.isEmpty() && !isBlank(m_preamble.back()))
            m_preamble.append(QString());
        m_groups.push_back(Group{group, {QLatin1Char('[') + encoded(group) + QLatin1Char(']')}});
        m_index[group].push_back(m_groups.size() - 1);
        found = &m_groups.back();
        m_endsWithNewline = true;
    }
    for (const auto &[key, value] : values) {
        const QString line = key + QLatin1Char('=') + QString::number(value);
        bool replaced = false;
        for (qsizetype i = 1; i < found->lines.size(); ++i) {
            if (keyOf(found->lines[i]) == key) {
                found->lines[i] = line;
                replaced = true;
            }
        }
        if (replaced)
            continue;
        // After the group's last key, before its trailing blank lines.
        qsizetype at = found->lines.size();
        while (at > 1 && isBlank(found->lines[at - 1]))
            --at;
        found->lines.insert(at, line);
    }
}

void IconKeyFile::removeGroup(const QString &group)
{
    // Every group of that name goes.
    const auto it = m_index.constFind(group);
    if (it == m_index.cend())
        return;
    for (const std::size_t at : it.value())
        m_groups[at].removed = true;
    m_index.erase(it);
}

QString IconKeyFile::firstGroup() const
{
    for (const Group &group : m_groups) {
        if (!group.removed)
            return group.name;
    }
    return {};
}

} // namespace quorvane
