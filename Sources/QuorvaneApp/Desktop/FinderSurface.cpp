#include "Desktop/FinderSurface.h"

#include "Desktop/FinderError.h"
#include "ScriptRunner.h"

#include <QStringList>

#include <limits>

namespace quorvane {

namespace {

using namespace Qt::Literals::StringLiterals;

// A name inside a script string: backslashes doubled first, then double quotes escaped.
QString escaped(const QString &name)
{
    QString text = name;
    text.replace(u"\\"_s, u"\\\\"_s);
    text.replace(u"\""_s, u"\\\""_s);
    return text;
}

QString coordinate(std::int64_t value)
{
    return QString::number(value);
}

// An optional sign and decimal digits only, within 64 bits.
std::optional<std::int64_t> decimalInteger(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate as a negative number so that the most negative value fits.
    std::int64_t value = 0;
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value < (lowest + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == lowest)
            return std::nullopt;
        value = -value;
    }
    return value;
}

bool isNewline(QChar c)
{
    switch (c.unicode()) {
    case u'\n': case u'\r': case 0x0B: case 0x0C: case 0x85: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

// Blanks: spaces and tabs, not newlines.
QString trimmedOfBlanks(QStringView text)
{
    auto blank = [](QChar c) { return c == u'\t' || c.category() == QChar::Separator_Space; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

QString readPositionsScript(const QStringList &names)
{
    QStringList lines{u"tell application \"Finder\""_s, u"  set theDesktop to desktop"_s, u"  set out to \"\""_s};
    for (qsizetype index = 0; index < names.size(); ++index) {
        lines << u"  try"_s
              << u"    set p to desktop position of file \""_s + escaped(names[index]) + u"\" of theDesktop"_s
              << u"    set out to out & \""_s + QString::number(index)
                     + u"\" & tab & ((item 1 of p) as string) & tab & ((item 2 of p) as string) & return"_s
              << u"  end try"_s;
    }
    lines << u"  return out"_s << u"end tell"_s;
    return lines.join(u'\n');
}

QString writePositionsScript(const IconPositions &positions)
{
    QStringList lines{u"tell application \"Finder\""_s, u"  set theDesktop to desktop"_s};
    for (const auto &[name, position] : positions) {
        lines << u"  try"_s
              << u"    set desktop position of file \""_s + escaped(name) + u"\" of theDesktop to {"_s
                     + coordinate(position.x) + u", "_s + coordinate(position.y) + u"}"_s
              << u"  end try"_s;
    }
    lines << u"  try"_s << u"    update every item of theDesktop"_s << u"  end try"_s << u"end tell"_s;
    return lines.join(u'\n');
}

// "INDEX<tab>X<tab>Y" lines; anything else is skipped.
IconPositions parsePositions(const QString &reply, const QStringList &names)
{
    IconPositions result;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= reply.size(); ++i) {
        if (i < reply.size() && !isNewline(reply[i]))
            continue;
        const QStringView line = QStringView(reply).mid(start, i - start);
        start = i + 1;
        if (line.isEmpty())
            continue;
        const auto fields = line.split(u'\t');
        if (fields.size() != 3)
            continue;
        const auto index = decimalInteger(fields[0]);
        const auto x = decimalInteger(fields[1]);
        const auto y = decimalInteger(fields[2]);
        if (!index || !x || !y || *index < 0 || *index >= names.size())
            continue;
        result.insert_or_assign(names[qsizetype(*index)], IconPosition{*x, *y});
    }
    return result;
}

// "X, Y": exactly two integers between commas.
std::optional<IconPosition> parsePosition(const QString &reply)
{
    const auto pieces = QStringView(reply).split(u',', Qt::SkipEmptyParts);
    if (pieces.size() != 2)
        return std::nullopt;
    const auto x = decimalInteger(trimmedOfBlanks(pieces[0]));
    const auto y = decimalInteger(trimmedOfBlanks(pieces[1]));
    if (!x || !y)
        return std::nullopt;
    return IconPosition{*x, *y};
}

} // namespace

FinderSurface::FinderSurface(const QString &desktop, const QString &workspacesRoot, ScriptRunner &inProcess,
                             ScriptRunner &subprocess)
    : files(desktop, workspacesRoot)
    , m_inProcess(inProcess)
    , m_subprocess(subprocess)
{
}

bool FinderSurface::sameVolume()
{
    return files.sameVolume();
}

QStringList FinderSurface::items(const Location &at)
{
    return files.items(at);
}

void FinderSurface::move(const QString &name, const Location &from, const Location &to)
{
    files.move(name, from, to);
}

void FinderSurface::checkFolders(const QList<Location> &folders)
{
    files.checkFolders(folders);
}

void FinderSurface::carryPositions(const Location &from, const Location &to)
{
    files.carryPositions(from, to);
}

std::optional<IconPosition> FinderSurface::readPosition(const QString &name)
{
    const auto reply = runSubprocess(u"tell application \"Finder\" to get desktop position of file \""_s + escaped(name)
                                     + u"\" of desktop"_s);
    if (!reply)
        return std::nullopt;
    return parsePosition(*reply);
}

IconPositions FinderSurface::readPositions(const QStringList &names)
{
    if (names.isEmpty())
        return {};
    const auto reply = runSubprocess(readPositionsScript(names));
    if (!reply)
        return {};
    return parsePositions(*reply, names);
}

void FinderSurface::writePosition(const IconPosition &position, const QString &name)
{
    runScript(u"tell application \"Finder\" to set desktop position of file \""_s + escaped(name) + u"\" of desktop to {"_s
              + coordinate(position.x) + u", "_s + coordinate(position.y) + u"}"_s);
}

void FinderSurface::writePositions(const IconPositions &positions)
{
    if (positions.empty())
        return;
    runScript(writePositionsScript(positions));
}

std::optional<QString> FinderSurface::runSubprocess(const QString &script)
{
    try {
        return m_subprocess.run(script);
    } catch (const ScriptError &error) {
        throw FinderError::appleScript(error.text());
    }
}

std::optional<QString> FinderSurface::runScript(const QString &script)
{
    try {
        return m_inProcess.run(script);
    } catch (const ScriptError &error) {
        throw FinderError::appleScript(error.text());
    }
}

} // namespace quorvane
