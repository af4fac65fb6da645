#include "Shared/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRecursiveMutex>

#include <array>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

const QString Log::fallbackSubsystem = QStringLiteral("app.quorvane.dev");

namespace {

enum Category {
    appCategory,
    swapCategory,
    sweepCategory,
    archiveCategory,
    errorCategory,
    categoryCount
};
constexpr const char *categoryNames[categoryCount] = {"app", "swap", "sweep", "archive", "error"};

struct CategorySet {
    std::array<QByteArray, categoryCount> names; // outlive the categories that point into them
    std::array<std::unique_ptr<QLoggingCategory>, categoryCount> categories;
};

struct LogState {
    QRecursiveMutex mutex; // a message raised while writing one must not deadlock
    QString subsystem;     // empty until first use or start()
    // One set per subsystem ever used; none is destroyed, so a reference handed out stays valid.
    std::map<QString, std::unique_ptr<CategorySet>> sets;
    QString filePath;
    std::FILE *file = nullptr;
    bool fileFailed = false;
    std::deque<Log::Entry> ring;
    bool handlerInstalled = false;
};

LogState &state()
{
    static LogState *s = new LogState; // never destroyed: messages may come during exit
    return *s;
}

QString currentSubsystemLocked(LogState &s)
{
    if (s.subsystem.isEmpty())
        s.subsystem = Log::subsystemFor(AppInfo::current());
    return s.subsystem;
}

const QLoggingCategory &category(Category which)
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    const QString subsystem = currentSubsystemLocked(s);
    auto &set = s.sets[subsystem];
    if (!set) {
        set = std::make_unique<CategorySet>();
        for (int i = 0; i < categoryCount; ++i) {
            set->names[i] = (subsystem + QLatin1Char('.') + QLatin1String(categoryNames[i])).toUtf8();
            set->categories[i] = std::make_unique<QLoggingCategory>(set->names[i].constData(), QtInfoMsg);
        }
    }
    return *set->categories[which];
}

const char *typeName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "error";
    case QtFatalMsg:
        return "fatal";
    }
    return "info";
}

constexpr qint64 maxLogBytes = 4 * 1024 * 1024;

void openFileLocked(LogState &s)
{
    if (s.file || s.fileFailed || s.filePath.isEmpty())
        return;
    QDir().mkpath(QFileInfo(s.filePath).absolutePath());
    const QByteArray path = QFile::encodeName(s.filePath);
    // One earlier generation is kept: a log that has grown large starts afresh.
    if (QFileInfo(s.filePath).size() > maxLogBytes)
        ::rename(path.constData(), (path + ".1").constData());
    // Private to the user (it names desktops and files); close-on-exec for child processes.
    // Appended to only as a regular file of its own: never through a link, never waiting on a
    // FIFO in its place.
    int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    s.file = fd >= 0 ? ::fdopen(fd, "a") : nullptr;
    if (fd >= 0 && !s.file)
        ::close(fd);
    if (!s.file)
        s.fileFailed = true; // stderr and the ring still get every entry
}

void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    Log::Entry entry{QDateTime::currentDateTimeUtc(),
                     QString::fromUtf8(context.category ? context.category : "default"), type, message};
    const QByteArray line = Log::format(entry).toUtf8() + '\n';
    LogState &s = state();
    {
        QMutexLocker lock(&s.mutex);
        s.ring.push_back(std::move(entry));
        while (s.ring.size() > Log::ringCapacity)
            s.ring.pop_front();
        openFileLocked(s);
        if (s.file) {
            std::fwrite(line.constData(), 1, std::size_t(line.size()), s.file);
            std::fflush(s.file);
        }
    }
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
}

} // namespace

QString Log::subsystemFor(const AppInfo &info)
{
    return info.identifier.isEmpty() ? fallbackSubsystem : info.identifier;
}

QString Log::subsystem()
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    return currentSubsystemLocked(s);
}

const QLoggingCategory &Log::app()
{
    return category(appCategory);
}

const QLoggingCategory &Log::swap()
{
    return category(swapCategory);
}

const QLoggingCategory &Log::sweep()
{
    return category(sweepCategory);
}

const QLoggingCategory &Log::archive()
{
    return category(archiveCategory);
}

const QLoggingCategory &Log::error()
{
    return category(errorCategory);
}

void Log::start(const AppInfo &info, const QString &logFilePath)
{
    LogState &s = state();
    {
        QMutexLocker lock(&s.mutex);
        s.subsystem = subsystemFor(info);
        if (s.file)
            std::fclose(s.file);
        s.file = nullptr;
        s.fileFailed = false;
        s.filePath = logFilePath;
        if (s.handlerInstalled)
            return;
        s.handlerInstalled = true;
    }
    qInstallMessageHandler(handleMessage);
}

QString Log::standardLogFile()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/quorvane/quorvane.log");
}

QString Log::logFilePath()
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    return s.filePath;
}

std::vector<Log::Entry> Log::recentEntries()
{
    LogState &s = state();
    QMutexLocker lock(&s.mutex);
    return {s.ring.begin(), s.ring.end()};
}

QString Log::format(const Entry &entry)
{
    return entry.time.toString(Qt::ISODateWithMs) + QStringLiteral(" [") + entry.category + QStringLiteral("] ")
        + QLatin1String(typeName(entry.type)) + QStringLiteral(": ") + entry.message;
}

} // namespace quorvane
