// Click to first paint of the settings window and of the new-desktop window, each in a fresh
// process on the real display (run it under xvfb-run) whose status menu has been drawn once,
// and the resident memory after the settings window was opened and closed once. Prints the
// figures; asserts nothing.
//
//   WindowOpenBenchmark            runs 10 processes per window and prints median and worst
//   WindowOpenBenchmark --child settings|newdesk|memory HOME   one measurement
#include "Controller/AppController.h"
#include "Controller/AppEnvironment.h"
#include "MessageBoxAlertPresenter.h"
#include "QtDialogs.h"
#include "QtScheduler.h"
#include "ScriptProcess.h"
#include "ScriptRunner.h"
#include "TrayStatusItem.h"
#include "WidgetActivationPolicy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
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
    LinuxScriptRunner inProcess;
    ScriptProcess tool;
    AppEnvironment env{Paths::forHome(home), AppInfo::current(), [] { return std::make_shared<TrayStatusItem>(); },
                       &scheduler, &alerts, &activation, &inProcess, &tool, nullptr, nullptr, {}, {}};
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
    if (what == QLatin1String("memory")) {
        controller.openSettingsWindow()->close();
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300)
            app.processEvents(QEventLoop::AllEvents, 50);
        std::printf("%ld\n", residentKilobytes());
    } else {
        std::printf("%.3f\n", double(watch.at) / 1e6);
    }
    return 0;
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
    std::printf("%-44s median %7.1f ms   worst %7.1f ms   (bar %s)\n", label, median, values.back(), bar);
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
    const double rss = run(self, QStringLiteral("memory"));
    std::printf("%-44s %7.1f MB   (bar 60 MB)\n", "VmRSS after opening and closing settings:", rss / 1024.0);
    return rss < 0 ? 1 : 0;
}
