#include "ScriptProcess.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace quorvane {

namespace {

QString systemText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Closes a descriptor once, on every path out.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor() { reset(); }
    int get() const { return m_fd; }
    int *out() { return &m_fd; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

struct Pipe {
    Descriptor read;
    Descriptor write;
    bool open()
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        *read.out() = fds[0];
        *write.out() = fds[1];
        return true;
    }
};

class SpawnActions {
public:
    SpawnActions() { m_ok = ::posix_spawn_file_actions_init(&m_actions) == 0; }
    ~SpawnActions()
    {
        if (m_ok)
            ::posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnActions(const SpawnActions &) = delete;
    SpawnActions &operator=(const SpawnActions &) = delete;
    bool ok() const { return m_ok; }
    posix_spawn_file_actions_t *get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions{};
    bool m_ok = false;
};

QString utf8OrEmpty(const QByteArray &bytes, bool *valid)
{
    *valid = QByteArrayView(bytes).isValidUtf8();
    return *valid ? QString::fromUtf8(bytes) : QString();
}

} // namespace

const QString ScriptProcess::defaultTool = QStringLiteral("/usr/bin/osascript");

ScriptProcess::ScriptProcess(const QString &tool)
    : m_tool(tool)
{
}

std::optional<QString> ScriptProcess::run(const QString &script)
{
    // An argument cannot carry a NUL: it would silently cut the script short.
    if (script.contains(QChar(u'\0')))
        throw ScriptError(QStringLiteral("the script contains a NUL character"));

    const QByteArray tool = QFile::encodeName(m_tool);
    const QByteArray option = QByteArrayLiteral("-e");
    const QByteArray source = script.toUtf8();
    char *argv[] = {const_cast<char *>(tool.constData()), const_cast<char *>(option.constData()),
                    const_cast<char *>(source.constData()), nullptr};

    Pipe out;
    Pipe err;
    if (!out.open() || !err.open())
        throw ScriptError(systemText(errno));
    SpawnActions actions;
    if (!actions.ok())
        throw ScriptError(systemText(ENOMEM));
    ::posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(actions.get(), out.write.get(), STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(actions.get(), err.write.get(), STDERR_FILENO);

    pid_t pid = -1;
    if (const int code = ::posix_spawn(&pid, tool.constData(), actions.get(), nullptr, argv, environ))
        throw ScriptError(QStringLiteral("cannot run %1: %2").arg(m_tool, systemText(code)));
    out.write.reset();
    err.write.reset();

    // Drain both pipes until the child has closed them, then collect its status.
    QByteArray output;
    QByteArray errors;
    Descriptor *sources[2] = {&out.read, &err.read};
    QByteArray *sinks[2] = {&output, &errors};
    char buffer[65536];
    while (out.read.get() >= 0 || err.read.get() >= 0) {
        pollfd fds[2];
        for (int i = 0; i < 2; ++i)
            fds[i] = pollfd{sources[i]->get(), POLLIN, 0}; // a negative descriptor is skipped
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0)
                sinks[i]->append(buffer, qsizetype(n));
            else if (n == 0 || (errno != EINTR && errno != EAGAIN))
                sources[i]->reset();
        }
    }
    out.read.reset();
    err.read.reset();

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            throw ScriptError(systemText(errno));
    }

    bool valid = false;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        const QString reply = utf8OrEmpty(output, &valid).trimmed();
        if (!valid || reply.isEmpty())
            return std::nullopt;
        return reply;
    }
    throw ScriptError(utf8OrEmpty(errors, &valid).trimmed());
}

} // namespace quorvane
