#include "Desktop/DesktopWatcher.h"

#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>

#include <sys/inotify.h>
#include <unistd.h>

namespace quorvane {

namespace {

// The folder's own entries changing: an item added, removed or renamed.
constexpr std::uint32_t entryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
// The folder itself removed or moved away, or its watch gone.
constexpr std::uint32_t reopenEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

} // namespace

DesktopWatcher::DesktopWatcher(const QString &path, double debounce, std::function<void()> onChange, Scheduler &scheduler,
                               DocumentService *documents)
    : m_path(path)
    , m_onChange(std::move(onChange))
    , m_debounceInterval(debounce)
    , m_scheduler(scheduler)
{
    if (!documents)
        return;
    using Change = DocumentService::Change;
    QObject::connect(documents, &DocumentService::changed, &m_listening,
                     [this](const Config &config, DocumentService::Changes what) {
                         if (!(what & (Change::settings | Change::state)))
                             return;
                         if (wanted(config.settings))
                             start();
                         else
                             stop();
                     });
}

bool DesktopWatcher::wanted(const AppSettings &settings)
{
    if (!settings.customFiltersEnabled || !settings.customFiltersWatch)
        return false;
    return std::any_of(settings.customFilters.begin(), settings.customFilters.end(),
                       [](const CustomFilter &rule) { return rule.enabled && !rule.pattern.isEmpty(); });
}

DesktopWatcher::~DesktopWatcher()
{
    stop();
}

void DesktopWatcher::start()
{
    if (m_source)
        return;
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        m_fd = -1;
        return;
    }
    if (::inotify_add_watch(fd, QFile::encodeName(m_path).constData(), entryEvents | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR) < 0) {
        ::close(fd);
        m_fd = -1;
        return;
    }
    m_fd = fd;
    m_source = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read);
    QObject::connect(m_source, &QSocketNotifier::activated, m_source, [this] { readEvents(); });
}

void DesktopWatcher::stop()
{
    if (m_pending) {
        m_scheduler.cancel(*m_pending);
        m_pending.reset();
    }
    if (!m_source)
        return;
    m_source->setEnabled(false);
    QObject::disconnect(m_source, nullptr, nullptr, nullptr);
    if (m_handling)
        m_source->deleteLater();
    else
        delete m_source;
    m_source = nullptr;
    ::close(m_fd);
    m_fd = -1;
}

void DesktopWatcher::pause()
{
    m_paused = true;
    if (m_pending) {
        m_scheduler.cancel(*m_pending);
        m_pending.reset();
    }
}

void DesktopWatcher::resume()
{
    m_paused = false;
}

void DesktopWatcher::readEvents()
{
    // Everything queued so far is one delivery.
    std::uint32_t mask = 0;
    alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + 256)];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (ssize_t offset = 0; offset < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            mask |= event->mask;
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    if (mask == 0)
        return;
    m_handling = true;
    handleEvent(mask);
    m_handling = false;
}

void DesktopWatcher::handleEvent(std::uint32_t mask)
{
    if (mask & reopenEvents) {
        stop();
        start();
    }
    if (m_paused)
        return;
    if (m_pending)
        m_scheduler.cancel(*m_pending);
    m_pending = m_scheduler.after(m_debounceInterval, [this] {
        m_pending.reset();
        if (!m_paused)
            m_onChange();
    });
}

} // namespace quorvane
