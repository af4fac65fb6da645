#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <sys/stat.h>

namespace quorvane::test {

void isolateProcessEnvironment()
{
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/quorvane-tests-XXXXXX"));
    if (!root.isValid())
        throw std::runtime_error("cannot create the test root folder");
    const QByteArray base = QFile::encodeName(root.path());
    const struct {
        const char *name;
        const char *sub;
    } vars[] = {
        {"HOME", "/home"},
        {"XDG_CONFIG_HOME", "/home/.config"},
        {"XDG_DATA_HOME", "/home/.local/share"},
        {"XDG_STATE_HOME", "/home/.local/state"},
        {"XDG_CACHE_HOME", "/home/.cache"},
        {"XDG_RUNTIME_DIR", "/runtime"},
    };
    for (const auto &v : vars) {
        const QByteArray path = base + v.sub;
        QDir().mkpath(QFile::decodeName(path));
        qputenv(v.name, path);
    }
    QFile::setPermissions(QFile::decodeName(base + "/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The session's settings (the colour scheme) live in a file of the temporary config folder.
    qputenv("GSETTINGS_BACKEND", "keyfile");
    qputenv("TZ", "UTC");
    tzset();
    QStandardPaths::setTestModeEnabled(false);
}

TempHome::TempHome()
    : m_dir(QDir::tempPath() + QStringLiteral("/home-XXXXXX"))
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary home folder");
}

ScopedTimeZone::ScopedTimeZone(const char *zone)
    : m_previous(qgetenv("TZ"))
    , m_hadPrevious(qEnvironmentVariableIsSet("TZ"))
{
    qputenv("TZ", zone);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone()
{
    if (m_hadPrevious)
        qputenv("TZ", m_previous);
    else
        qunsetenv("TZ");
    tzset();
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contents) != contents.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read test file " + path.toStdString());
    return f.readAll();
}

unsigned long long inodeOf(const QString &path)
{
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? s.st_ino : 0;
}

QJsonObject parse(const char *text)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return doc.object();
}

} // namespace quorvane::test
