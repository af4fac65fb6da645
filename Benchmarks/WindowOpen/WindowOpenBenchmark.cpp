// Click to first paint of the settings window and of the new-desktop window, each in a fresh
// process on the real display (run it under xvfb-run) whose status menu has been drawn once;
// a choice in the settings sidebar to the first paint of that section's page; and the resident
// memory once the settings window is open and after it was closed. Prints the figures; asserts
// nothing.
//
//   WindowOpenBenchmark            runs 10 processes per window and prints median and worst
//   WindowOpenBenchmark --child settings|newdesk|memory|pages HOME   one measurement
#include "Controller/AppController.h"
#include "Controller/AppEnvironment.h"
#include "MessageBoxAlertPresenter.h"
#include "QtDialogs.h"
#include "QtScheduler.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/SettingsSection.h"
#include "SettingsViews/SettingsView.h"
#include "TrayStatusItem.h"
#include "WidgetActivationPolicy.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
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
        report(label.constData(), times[index], nullptr);
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
    AppEnvironment env{Paths::forHome(home), AppInfo::current(), [] { return std::make_shared<TrayStatusItem>(); },
                       &scheduler, &alerts, &activation, nullptr, nullptr, {}, {}};
    env.dialogs = &dialogs;
    AppController controller(env);
    // A click on a menu action comes after the status menu was drawn, which has loaded the
    // fonts: draw it once before the clock starts.
    controller.rebuildMenu();
    controller.menu().grab();

    const bool settings = what != QLatin1String("newdesk");
    QElapsedTimer clock;
    FirstPaint watch(settings ? QStringLiteral("Quorvane Settings") : QStringLiteral("New desktop"));
    watch.clock = &clock;
    app.installEventFilter(&watch);
    QTimer::singleShot(0, [&] {
        clock.start();
        if (settings)
            controller.openSettings();
        else
            controller.newWorkspace();
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
        return measurePages(app, controller.openSettingsWindow());
    if (what == QLatin1String("memory")) {
        settle(app, 300);
        const long open = residentKilobytes();
        controller.openSettingsWindow()->close();
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
    // One process, on a furnished home, chooses every section in turn, ten rounds; it prints its
    // own lines.
    std::fflush(stdout);
    {
        QTemporaryDir home;
        furnish(home.path());
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process.start(self, {QStringLiteral("--child"), QStringLiteral("pages"), home.path()});
        process.waitForFinished(120000);
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
