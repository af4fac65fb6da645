#include "Paths.h"

#include "Location.h"
#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace quorvane {

const QString Paths::rootName = QStringLiteral("QuorVane Desktops");
const QStringList Paths::reservedDeskNames = {QStringLiteral("Archive"), QStringLiteral(".store")};

namespace {

QString clean(const QString &path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

// A key of user-dirs.dirs: "$HOME/..." or an absolute path, in double quotes.
QString xdgUserDirOf(const QString &home, const QString &key, const QString &fallbackName)
{
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || !QDir::isAbsolutePath(configHome))
        configHome = home + QStringLiteral("/.config");
    if (const auto lines = RegularFile::readOrWarn(configHome + QStringLiteral("/user-dirs.dirs"), 1024 * 1024, RegularFile::Links::followed)) {
        const QRegularExpression line(QStringLiteral("^") + QRegularExpression::escape(key)
                                      + QStringLiteral("=\"([^\"]*)\"\\s*$"));
        for (const QByteArray &raw : lines->split('\n')) {
            const QString text = QString::fromUtf8(raw).trimmed();
            const auto m = line.match(text);
            if (!m.hasMatch())
                continue;
            QString value = m.captured(1);
            if (value.startsWith(QStringLiteral("$HOME")))
                value = home + value.mid(5);
            if (QDir::isAbsolutePath(value))
                return clean(value);
        }
    }
    return home + QLatin1Char('/') + fallbackName;
}

bool isSameOrInside(const QString &inner, const QString &outer)
{
    return inner == outer || inner.startsWith(outer + QLatin1Char('/'));
}

// The path with every symbolic link resolved that exists, the rest appended.
QString resolved(const QString &path)
{
    const QString cleaned = clean(path);
    const QString canonical = QFileInfo(cleaned).canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const qsizetype slash = cleaned.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return cleaned;
    return resolved(cleaned.left(slash)) + cleaned.mid(slash);
}

} // namespace

QString Paths::xdgUserFolder(const QString &home, const QString &key, const QString &fallbackName)
{
    return xdgUserDirOf(clean(home), key, fallbackName);
}

bool Paths::isReservedEntryName(const QString &name)
{
    if (name.startsWith(QLatin1Char('.')))
        return true;
    for (const QString &reserved : reservedDeskNames) {
        if (name.compare(reserved, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool Paths::isDesktopFolderName(const QString &name)
{
    return Location::isSafeName(name) && !isReservedEntryName(name);
}

bool Paths::isBoundedFolder(const QString &folder, const QString &home, const QString &desktop, const QString &root)
{
    const QFileInfo info(folder);
    if (info.isSymLink() && !info.exists())
        return false;
    const QString resolvedFolder = resolved(folder);
    const QString desk = resolved(desktop);
    if (resolvedFolder == resolved(home) || resolvedFolder == QStringLiteral("/"))
        return false;
    if (isSameOrInside(desk, resolvedFolder) || isSameOrInside(resolved(root), resolvedFolder))
        return false;
    // The store's files (the document, the journal, the lock) are never a desktop's items, and
    // nothing of the user's may become one of them.
    if (isSameOrInside(resolvedFolder, resolved(root + QStringLiteral("/.store"))))
        return false;
    return !isSameOrInside(resolvedFolder, desk);
}

Paths::Paths(const QString &home, const QString &desktop)
    : m_home(clean(home))
    , m_root(m_home + QLatin1Char('/') + rootName)
    , m_desktop(clean(desktop))
{
}

Paths Paths::forHome(const QString &home)
{
    const QString h = clean(home);
    return Paths(h, xdgUserDirOf(h, QStringLiteral("XDG_DESKTOP_DIR"), QStringLiteral("Desktop")));
}

const Paths &Paths::standard()
{
    static const Paths paths = [] {
        const QString home = QDir::homePath();
        QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (desktop.isEmpty())
            desktop = home + QStringLiteral("/Desktop");
        return Paths(home, desktop);
    }();
    return paths;
}

bool Paths::desktopIsSafe() const
{
    const QString desk = resolved(m_desktop);
    const QString home = resolved(m_home);
    const QString root = resolved(m_root);
    if (desk == home || desk == QStringLiteral("/"))
        return false;
    // The desktops folder lies in (or is) the Desktop: moving the Desktop's items would move it.
    if (isSameOrInside(root, desk))
        return false;
    // A Desktop inside the desktops folder is one desktop's folder, or the store's.
    if (isSameOrInside(desk, root))
        return false;
    return true;
}

} // namespace quorvane
