// Click to first paint of the settings window and of the new-desktop window, each in a fresh
// process on the real display (run it under xvfb-run) whose status menu has been drawn once;
// a choice in the settings sidebar to the first paint of that section's page, on a home of a
// few desktops and on one of hundreds of desktops and cleanups; and the resident
// memory once the settings window is open and after it was closed. Prints the figures; asserts
// nothing.
//
//   WindowOpenBenchmark            runs 10 processes per window and prints median and worst
//   WindowOpenBenchmark --child settings|newdesk|memory|pages HOME   one measurement
#include "Controller/AppController.h"
#include "Controller/AppEnvironment.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/SettingsSection.h"
#include "SettingsViews/SettingsView.h"
#include "Tray/TrayStatusItem.h"
#include "Windows/MessageBoxAlertPresenter.h"
#include "Windows/QtDialogs.h"
#include "Windows/WidgetActivationPolicy.h"
#include "Work/QtScheduler.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

using namespace quorvane;

namespace {

constexpr int runs = 10;

// Notes the first paint of a top-level window with the given title.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QString title)
        : m_title(std::move(title))
    {
    }
    bool painted = false;
    qint64 at = 0;
    QElapsedTimer *clock = nullptr;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!painted && event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->window()->windowTitle() == m_title) {
                painted = true;
                at = clock->nsecsElapsed();
            }
        }
        return false;
    }

private:
    QString m_title;
};

// Notes the first paint of the page shown after a sidebar choice.
class PagePaint : public QObject {
public:
    QWidget *page = nullptr;
    bool painted = false;
    qint64 at = 0;
    QElapsedTimer *clock = nullptr;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (page && !painted && event->type() == QEvent::Paint) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && (widget == page || page->isAncestorOf(widget))) {
                painted = true;
                at = clock->nsecsElapsed();
            }
        }
        return false;
    }
};

void report(const char *label, std::vector<double> values, const char *bar);

void settle(QApplication &app, int ms)
{
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < ms)
        app.processEvents(QEventLoop::AllEvents, 50);
}

// Each section chosen in the sidebar in turn, round after round, as Down or a click chooses it.
int measurePages(QApplication &app, QWidget *window)
{
    auto *view = window ? window->findChild<SettingsView *>() : nullptr;
    if (!view) {
        std::fprintf(stderr, "no settings view\n");
        return 1;
    }
    settle(app, 300);
    PagePaint watch;
    QElapsedTimer clock;
    watch.clock = &clock;
    app.installEventFilter(&watch);
    std::vector<std::vector<double>> times(allSettingsSections.size());
    for (int round = 0; round < runs; ++round) {
        for (std::size_t step = 1; step <= allSettingsSections.size(); ++step) {
            const std::size_t index = step % allSettingsSections.size(); // General last
            watch.painted = false;
            watch.page = nullptr;
            clock.start();
            view->sidebar()->setCurrentRow(int(index));
            watch.page = view->pane()->content();
            QTimer deadline;
            deadline.setSingleShot(true);
            deadline.start(10000);
            while (!watch.painted && deadline.isActive())
                app.processEvents(QEventLoop::WaitForMoreEvents, 50);
            if (!watch.painted) {
                std::fprintf(stderr, "no paint of %s within 10 s\n", qPrintable(rawValue(allSettingsSections[index])));
                return 1;
            }
            times[index].push_back(double(watch.at) / 1e6);
            settle(app, 30);
        }
    }
    for (std::size_t index = 0; index < allSettingsSections.size(); ++index) {
        const QByteArray label = "select " + rawValue(allSettingsSections[index]).toUtf8() + ", to its first paint:";
        const SettingsSection section = allSettingsSections[index];
        const bool scales = section == SettingsSection::workspaces || section == SettingsSection::pinnedFolders
            || section == SettingsSection::organisation || section == SettingsSection::shortcuts;
        report(label.constData(), times[index], scales ? "60 ms" : nullptr);
    }
    return 0;
}

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

int child(int argc, char **argv, const QString &what, const QString &home)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QtScheduler scheduler;
    MessageBoxAlertPresenter alerts;
    QtDialogs dialogs;
    WidgetActivationPolicy activation;
    AppEnvironment env{Paths::forHome(home), AppInfo::current(), [] { return std::make_shared<TrayStatusItem>(); }, &scheduler, &alerts, &activation, nullptr, nullptr, {}, {}};
    env.dialogs = &dialogs;
    AppController controller(env);
    // A click on a menu action comes after the status menu was drawn, which has loaded the
    // fonts: draw it once before the clock starts.
    controller.statusMenu().rebuild();
    controller.statusMenu().menu().grab();

    const bool settings = what != QLatin1String("newdesk");
    QElapsedTimer clock;
    FirstPaint watch(settings ? QStringLiteral("Quorvane Settings") : QStringLiteral("New desktop"));
    watch.clock = &clock;
    app.installEventFilter(&watch);
    QTimer::singleShot(0, [&] {
        clock.start();
        if (settings)
            controller.windows().openSettings();
        else
            controller.windows().newWorkspace();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(10000);
    while (!watch.painted && deadline.isActive())
        app.processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!watch.painted) {
        std::fprintf(stderr, "no paint within 10 s\n");
        return 1;
    }
    if (what == QLatin1String("pages"))
        return measurePages(app, controller.windows().settingsWindow());
    if (what == QLatin1String("memory")) {
        settle(app, 300);
        const long open = residentKilobytes();
        controller.windows().settingsWindow()->close();
        settle(app, 300);
        std::printf("%ld %ld\n", open, residentKilobytes());
    } else {
        std::printf("%.3f\n", double(watch.at) / 1e6);
    }
    return 0;
}

// A home with a few desktops (one temporary, one bound to a workspace) and a name rule, so that
// each section has rows to show.
void furnish(const QString &home)
{
    const QString root = home + QStringLiteral("/QuorVane Desktops");
    const QStringList names{QStringLiteral("Default"), QStringLiteral("Work"), QStringLiteral("Receipts"),
                            QStringLiteral("Photos"), QStringLiteral("Scratch"), QStringLiteral("_Hidden Desktop")};
    for (const QString &name : names)
        QDir().mkpath(root + QLatin1Char('/') + name);
    QDir().mkpath(root + QStringLiteral("/.store"));
    QDir().mkpath(home + QStringLiteral("/Desktop"));
    QFile config(root + QStringLiteral("/.store/config.json"));
    if (!config.open(QIODevice::WriteOnly))
        return;
    config.write(R"({"schemaVersion": 1, "activeWorkspace": "Default",
 "workspaces": [{"name": "Default"}, {"name": "Work", "spaceUUID": "ewmh-desktop-0"}, {"name": "Receipts"},
  {"name": "Photos"}, {"name": "Scratch", "type": "temporary", "clearMode": "archive",
   "timer": {"mode": "idle", "days": 7}}, {"name": "_Hidden Desktop"}],
 "settings": {"shownFirstSwitchNote": true, "customFiltersEnabled": true, "followSpaces": true,
  "customFilters": [{"enabled": true, "pattern": "invoice", "collection": "Receipts"}]}})");
}

// A large home: 200 live desktops (every fourth temporary, the first nine with a shortcut), 30
// archived ones (20 still to sort), 500 cleanup tasks of one to three desktops each over the
// coming and the past months, and 40 pinned items of which half lie on the Desktop.
constexpr int largeLive = 200;
constexpr int largeArchived = 30;
constexpr int largeTasks = 500;
constexpr int largePins = 40;

void furnishLarge(const QString &home)
{
    const QString root = home + QStringLiteral("/QuorVane Desktops");
    QDir().mkpath(root + QStringLiteral("/.store"));
    QDir().mkpath(home + QStringLiteral("/Desktop"));
    QDir().mkpath(root + QStringLiteral("/_Hidden Desktop"));
    const double now = double(QDateTime::currentSecsSinceEpoch()) - 978307200.0; // seconds since 2001
    QJsonArray workspaces;
    QStringList live;
    for (int i = 0; i < largeLive; ++i) {
        const QString name = QStringLiteral("Desktop %1").arg(i + 1, 3, 10, QLatin1Char('0'));
        live << name;
        QDir().mkpath(root + QLatin1Char('/') + name);
        QJsonObject workspace{{QStringLiteral("name"), name}, {QStringLiteral("lastActiveAt"), now - 3600.0 * i}};
        if (i % 4 == 3) {
            workspace.insert(QStringLiteral("type"), QStringLiteral("temporary"));
            workspace.insert(QStringLiteral("clearMode"), i % 8 == 3 ? QStringLiteral("archive") : QStringLiteral("move"));
            workspace.insert(QStringLiteral("drainTarget"), live.first());
            workspace.insert(QStringLiteral("timer"), QJsonObject{{QStringLiteral("mode"), QStringLiteral("idle")}, {QStringLiteral("days"), 7}});
        }
        if (i < 9)
            workspace.insert(QStringLiteral("hotkey"), QJsonObject{{QStringLiteral("keyCode"), 18 + i}, {QStringLiteral("modifiers"), 6144}});
        workspaces.append(workspace);
    }
    QStringList archived;
    for (int i = 0; i < largeArchived; ++i) {
        const QString name = QStringLiteral("Archived %1").arg(i + 1, 2, 10, QLatin1Char('0'));
        archived << name;
        const QString location = root + QStringLiteral("/.archive/") + name;
        QDir().mkpath(location);
        workspaces.append(QJsonObject{{QStringLiteral("name"), name},
                                      {QStringLiteral("state"), i < 20 ? QStringLiteral("archivedUnsorted") : QStringLiteral("archivedSorted")},
                                      {QStringLiteral("archivedAt"), now - 86400.0 * i},
                                      {QStringLiteral("archiveLocation"), location}});
    }
    workspaces.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("_Hidden Desktop")}});
    QJsonArray tasks;
    for (int i = 0; i < largeTasks; ++i) {
        QJsonArray members;
        for (int k = 0; k <= i % 3; ++k) {
            const int pick = (i * 7 + k * 13) % (largeLive + 20);
            members.append(pick < largeLive ? live[pick] : archived[pick - largeLive]);
        }
        tasks.append(QJsonObject{{QStringLiteral("members"), members},
                                 {QStringLiteral("date"), now + 86400.0 * ((i % 120) - 30)}});
    }
    QJsonArray pins;
    for (int i = 0; i < largePins; ++i) {
        const QString name = QStringLiteral("Pinned %1").arg(i + 1);
        pins.append(name);
        if (i % 2 == 0)
            QDir().mkpath(home + QStringLiteral("/Desktop/") + name);
    }
    const QJsonObject settings{{QStringLiteral("shownFirstSwitchNote"), true},
                               {QStringLiteral("followSpaces"), true},
                               {QStringLiteral("pinnedFolders"), pins},
                               {QStringLiteral("optionClickCarousel"), QJsonArray{live[0], live[1]}}};
    const QJsonObject document{{QStringLiteral("schemaVersion"), 1},
                               {QStringLiteral("activeWorkspace"), live.first()},
                               {QStringLiteral("workspaces"), workspaces},
                               {QStringLiteral("cleanupTasks"), tasks},
                               {QStringLiteral("settings"), settings}};
    QFile config(root + QStringLiteral("/.store/config.json"));
    if (config.open(QIODevice::WriteOnly))
        config.write(QJsonDocument(document).toJson());
}

double run(const QString &self, const QString &what)
{
    QTemporaryDir home;
    QProcess process;
    process.start(self, {QStringLiteral("--child"), what, home.path()});
    process.waitForFinished(30000);
    bool ok = false;
    const double value = QString::fromUtf8(process.readAllStandardOutput()).trimmed().toDouble(&ok);
    if (process.exitCode() != 0 || !ok) {
        std::fprintf(stderr, "%s run failed: %s\n", qPrintable(what), process.readAllStandardError().constData());
        return -1;
    }
    return value;
}

void report(const char *label, std::vector<double> values, const char *bar)
{
    std::sort(values.begin(), values.end());
    const double median = (values[(values.size() - 1) / 2] + values[values.size() / 2]) / 2;
    std::printf("%-48s median %7.1f ms   worst %7.1f ms", label, median, values.back());
    if (bar)
        std::printf("   (bar %s)", bar);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && QByteArray(argv[1]) == "--child")
        return child(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<double> settings, newdesk;
    for (int i = 0; i < runs; ++i) {
        settings.push_back(run(self, QStringLiteral("settings")));
        newdesk.push_back(run(self, QStringLiteral("newdesk")));
    }
    if (std::count(settings.begin(), settings.end(), -1.0) || std::count(newdesk.begin(), newdesk.end(), -1.0))
        return 1;
    std::printf("%d fresh processes each, on %s\n", runs, qgetenv("DISPLAY").isEmpty() ? "no display" : "the X display");
    report("openSettings, click to first paint:", settings, "300 ms");
    report("newWorkspace, click to first paint:", newdesk, "300 ms");
    // One process per furnished home chooses every section in turn, ten rounds; it prints its
    // own lines.
    const std::pair<const char *, void (*)(const QString &)> homes[] = {
        {"A home of 5 desktops (1 temporary) and a name rule:", furnish},
        {"A home of 200 live desktops (50 temporary), 30 archived, 500 cleanup tasks, 40 pinned items:",
         furnishLarge},
    };
    for (const auto &[label, furnished] : homes) {
        std::printf("%s\n", label);
        std::fflush(stdout);
        QTemporaryDir home;
        furnished(home.path());
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process.start(self, {QStringLiteral("--child"), QStringLiteral("pages"), home.path()});
        process.waitForFinished(300000);
        if (process.exitCode() != 0) {
            std::fprintf(stderr, "pages run failed: %s\n", process.readAllStandardError().constData());
            return 1;
        }
    }
    QTemporaryDir home;
    QProcess process;
    process.start(self, {QStringLiteral("--child"), QStringLiteral("memory"), home.path()});
    process.waitForFinished(30000);
    const QStringList rss = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char(' '));
    if (process.exitCode() != 0 || rss.size() != 2) {
        std::fprintf(stderr, "memory run failed: %s\n", process.readAllStandardError().constData());
        return 1;
    }
    std::printf("%-48s %7.1f MB   (bar 60 MB)\n", "VmRSS with the settings window open:", rss[0].toDouble() / 1024.0);
    std::printf("%-48s %7.1f MB   (bar 60 MB)\n", "VmRSS after opening and closing settings:", rss[1].toDouble() / 1024.0);
    return 0;
}
