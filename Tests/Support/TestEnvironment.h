#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QTemporaryDir>

namespace quorvane::test {

// Points HOME, the XDG folders and TMPDIR of this test process at a private temporary
// folder, so that no test can reach the real home folder. Called once from the test main.
void isolateProcessEnvironment();

// A fresh home folder for one test, removed with the object.
class TempHome {
public:
    TempHome();
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
};

// Sets TZ for the lifetime of the object and restores the previous value afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char *zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone &) = delete;
    ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
    QByteArray m_previous;
    bool m_hadPrevious;
};

// Small file helpers for tests that build folder trees.
void writeFile(const QString &path, const QByteArray &contents);
QByteArray readFile(const QString &path);
// The file's inode number (0 when it cannot be read): a file replaced in one step gets a new one.
unsigned long long inodeOf(const QString &path);

// The JSON object in text; a parse error fails the calling test.
QJsonObject parse(const char *text);

} // namespace quorvane::test
