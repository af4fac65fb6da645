// The longest the event loop is held around a switch, measured inside the application's own
// event loop: a probe timer fires every millisecond and its lateness is the hold. The switch is
// the controller's, asked for from the event loop as a hot key asks, between two desktops of
// ITEMS items each, in a temporary home. The desktop's services are those named by SCENARIO:
//   plain    fakes only: no cue, no dark mode, no positions;
//   xfconf   XFCE: the look and the background through the settings daemon (an xfconfd on the
//            bus), positions in xfdesktop's store;
//   gnome    GNOME's keys through the gsettings tool (its keyfile backend), positions faked;
//   gio      GNOME's keys, and positions kept as GIO metadata (gvfs's daemons on the bus): the
//            desktop's items carry positions, so every other switch brings ITEMS entries;
//   pcmanfm  a pcmanfm desktop (a stand-in process, and a `pcmanfm` tool first on PATH that
//            takes its time as the real one does): its background and its positions, written
//            with the desktop turned off and on.
// loop_hold.sh prepares the daemons, the stand-ins and the bus. Prints one line: the hold's
// median and worst over ROUNDS switches, and how long the files took to lie on the Desktop.
// Prints, never asserts; exits 1 when a switch did not happen.
#include "Controller/ControllerHarness.h"
#include "DesktopHosts/GioMetadataIconHost.h"
#include "DesktopHosts/LinuxBackgroundHosts.h"
#include "DesktopHosts/LinuxDesktopIconHosts.h"
#include "GuiProcessEnvironment.h"
#include "Session/XfconfChannel.h"

#if __has_include("HostWork.h")
#include "Work/HostWork.h"
#define QUORVANE_HAS_HOST_WORK 1
#endif

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct Home : ControllerHarness {
    void TestBody() override {}
};

QStringList names(const char *prefix, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out.append(QStringLiteral("%1-%2.txt").arg(QLatin1String(prefix)).arg(i, 5, 10, QLatin1Char('0')));
    return out;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The probe: the largest lateness of a one-millisecond timer since the last reset.
class Probe {
public:
    Probe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_worst = std::max(m_worst, double(now - m_last) / 1e6 - 1.0);
            m_last = now;
        });
        m_clock.start();
        m_last = m_clock.nsecsElapsed();
        m_timer.start();
    }
    void reset()
    {
        m_last = m_clock.nsecsElapsed();
        m_worst = 0;
    }
    double worst() const { return m_worst; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    double m_worst = 0;
};

void serve(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

bool allOnDesktop(const QString &desktop, const QStringList &items)
{
    return std::all_of(items.begin(), items.end(), [&](const QString &name) { return QFile::exists(desktop + '/' + name); });
}

// A daemon of the scenario, started in this process's temporary home and waited for on the bus.
bool startDaemon(std::vector<std::unique_ptr<QProcess>> &daemons, const QString &program, const QString &service)
{
    auto daemon = std::make_unique<QProcess>();
    daemon->start(program, {});
    if (!daemon->waitForStarted(5000))
        return false;
    daemons.push_back(std::move(daemon));
    auto *bus = QDBusConnection::sessionBus().interface();
    for (int i = 0; i < 200 && !bus->isServiceRegistered(service); ++i)
        QThread::msleep(25);
    return bus->isServiceRegistered(service);
}

QString xfconfd()
{
    for (const char *path : {"/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd", "/usr/lib/xfce4/xfconf/xfconfd",
                             "/usr/libexec/xfce4/xfconf/xfconfd"}) {
        if (QFile::exists(QLatin1String(path)))
            return QLatin1String(path);
    }
    return {};
}

// A pcmanfm stand-in first on PATH: the desktop (run with --desktop) idles until turned off;
// the tool's calls take what the real tool takes to start (80 ms).
const char pcmanfmStandIn[] = R"SH(#!/bin/sh
state="$(dirname "$0")/desktop.pid"
case " $* " in
*" --desktop-off "*) sleep 0.08; [ -f "$state" ] && kill "$(cat "$state")"; exit 0 ;;
*" --desktop "*) echo $$ > "$state"; trap 'exit 0' TERM; while :; do sleep 0.05; done ;;
*) sleep 0.08; exit 0 ;;
esac
)SH";

} // namespace

int main(int argc, char **argv)
{
    isolateGuiProcessEnvironment();
    // A display no session uses: only the stand-ins started here count as its desktop hosts.
    qputenv("DISPLAY", ":" + QByteArray::number(QCoreApplication::applicationPid()) + ".77");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString scenario = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("plain");
    const int rounds = argc > 2 ? std::max(2, atoi(argv[2])) : 10;
    const int count = argc > 3 ? std::max(1, atoi(argv[3])) : 100;
    Home home;
    home.SetUp();
    QLoggingCategory::setFilterRules(QStringLiteral("*.info=false\n*.debug=false\n*.warning=false"));
    const QStringList one = names("one", count);
    const QStringList two = names("two", count);
    Config config = home.layOut({{"One", one}, {"Two", two}});
    config.settings.shownFirstSwitchNote = true;
    const bool dressed = scenario != QLatin1String("plain");
    if (dressed) {
        // Each desktop its own cue below the icons and its own mode.
        config.workspaces[0].cue = DesktopCue(true, DesktopCue::Fill::color("#336699"), 1.0, false, false);
        config.workspaces[0].preferredAppearance = AppearanceMode::light;
        config.workspaces[1].cue = DesktopCue(true, DesktopCue::Fill::color("#993366"), 1.0, false, false);
        config.workspaces[1].preferredAppearance = AppearanceMode::dark;
    }
    home.save(config);

    std::vector<std::unique_ptr<QProcess>> daemons;
    const QString standInState = home.home.path() + QStringLiteral("/bin/desktop.pid");
    const auto stopDaemons = qScopeGuard([&] {
#ifdef QUORVANE_HAS_HOST_WORK
        HostWork::drain(30000); // a desktop started again by the last job ends here too
#endif
        QFile state(standInState);
        if (state.open(QIODevice::ReadOnly)) {
            if (const qint64 pid = state.readAll().trimmed().toLongLong(); pid > 0)
                ::kill(pid_t(pid), SIGTERM);
        }
        for (auto &daemon : daemons) {
            daemon->terminate();
            daemon->waitForFinished(3000);
        }
    });
    if (scenario == QLatin1String("xfconf")) {
        if (!startDaemon(daemons, xfconfd(), QStringLiteral("org.xfce.Xfconf"))) {
            std::fprintf(stderr, "no xfconfd on the bus\n");
            return 1;
        }
        XfconfChannel(QStringLiteral("xsettings")).setProperty(QStringLiteral("/Net/ThemeName"), QStringLiteral("Adwaita"));
    } else if (scenario == QLatin1String("gio")) {
        if (!startDaemon(daemons, QStringLiteral("/usr/libexec/gvfsd"), QStringLiteral("org.gtk.vfs.Daemon"))
            || !startDaemon(daemons, QStringLiteral("/usr/libexec/gvfsd-metadata"), QStringLiteral("org.gtk.vfs.Metadata"))) {
            std::fprintf(stderr, "no gvfs daemons on the bus\n");
            return 1;
        }
    } else if (scenario == QLatin1String("pcmanfm")) {
        const QString bin = home.home.path() + QStringLiteral("/bin");
        QDir().mkpath(bin);
        writeFile(bin + QStringLiteral("/pcmanfm"), pcmanfmStandIn);
        QFile::setPermissions(bin + QStringLiteral("/pcmanfm"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin) + ':' + qgetenv("PATH"));
        writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/pcmanfm/default/desktop-items-0.conf"),
                  "[*]\nwallpaper_mode=color\n\n");
        if (!QProcess::startDetached(bin + QStringLiteral("/pcmanfm"), {QStringLiteral("--desktop")}))
            return 1;
        for (int i = 0; i < 100 && !QFile::exists(bin + QStringLiteral("/desktop.pid")); ++i)
            QThread::msleep(20);
    }

    AppEnvironment env = home.environment();
    std::unique_ptr<LinuxAppearanceSwitch> look;
    std::unique_ptr<LinuxPreferenceReader> preferences;
    std::unique_ptr<SystemAppearance> appearance;
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString desktop = home.desktop();
    if (dressed) {
        using Desktop = LinuxAppearanceSwitch::Desktop;
        const Desktop kind = scenario == QLatin1String("xfconf") ? Desktop::xfce : Desktop::gnome;
        look = std::make_unique<LinuxAppearanceSwitch>(SettingsLedger::inStore(home.paths().store()), kind);
        preferences = std::make_unique<LinuxPreferenceReader>();
        appearance = std::make_unique<SystemAppearance>(*preferences, *look);
        env.appearance = appearance.get();
    }
    if (scenario == QLatin1String("xfconf")) {
        env.backgroundHost = [] { return std::make_shared<XfdesktopBackgroundHost>(); };
        QDir().mkpath(configHome + "/xfce4/desktop");
        writeFile(configHome + "/xfce4/desktop/icons.screen0-1920x1080.rc", "[xfdesktop-version-4.10.3+-rcfile_format]\n4.10.3+=true\n\n");
        env.iconHost = [configHome, desktop] { return std::make_shared<XfdesktopIconHost>(configHome, desktop); };
    } else if (scenario == QLatin1String("gnome") || scenario == QLatin1String("pcmanfm")) {
        // The application's own finders: the session's background, and the desktop host found
        // among the processes (pcmanfm's stand-in; none in the GNOME session).
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        env.backgroundHost = [] { return findBackgroundHost(); };
        env.iconHost = [desktop] { return findDesktopIconHost(desktop); };
    } else if (scenario == QLatin1String("gio")) {
        env.backgroundHost = [] { return std::make_shared<GSettingsBackgroundHost>("org.gnome.desktop.background"); };
        env.iconHost = [desktop] { return std::make_shared<GioMetadataIconHost>("nemo", "nemo-icon-position", desktop); };
    }
    if (dressed) {
        // Every item on the Desktop placed, so that each desktop carries its positions.
        if (const auto host = env.iconHost()) {
            IconPositions placed;
            for (int i = 0; i < count; ++i)
                placed.insert_or_assign(one[i], IconPosition{20 + (i % 20) * 90, 20 + (i / 20) * 90});
            try {
                host->write(placed, {});
            } catch (const IconStoreError &error) {
                std::fprintf(stderr, "positions not placed: %s\n", error.what());
            }
        }
    }

    AppController controller(env);
    controller.completeLaunch();
    home.scheduler.advance(5);
    serve(300);
#ifdef QUORVANE_HAS_HOST_WORK
    HostWork::drain(30000);
#endif

    Probe probe;
    std::vector<double> holds;
    std::vector<double> filesMs;
    for (int round = 0; round < rounds; ++round) {
        const bool toTwo = round % 2 == 0;
        const QString target = toTwo ? QStringLiteral("Two") : QStringLiteral("One");
        const QStringList &arriving = toTwo ? two : one;
        QElapsedTimer clock;
        probe.reset();
        clock.start();
        QTimer::singleShot(0, &controller, [&] { controller.performSwitch(target, true); });
        // The files' arrival is looked for on a thread of its own: a look at thousands of names
        // would hold the very loop the probe measures.
        std::atomic<qint64> arrivedNs = -1;
        std::atomic<bool> looking = true;
        std::thread lookout([&] {
            while (looking && !allOnDesktop(desktop, arriving))
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            if (looking)
                arrivedNs = clock.nsecsElapsed();
        });
        const auto stopLooking = qScopeGuard([&] {
            looking = false;
            lookout.join();
        });
        double arrived = -1;
        while (clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (arrived < 0 && arrivedNs >= 0)
                arrived = double(arrivedNs) / 1e6;
            bool settled = arrived >= 0 && clock.elapsed() > arrived + 200;
#ifdef QUORVANE_HAS_HOST_WORK
            settled = settled && !HostWork::busy();
#endif
            if (settled)
                break;
        }
        home.scheduler.advance(2);
        serve(50);
        // Read before the harness's own look at the document, which holds the loop itself.
        holds.push_back(probe.worst());
        if (home.load().activeWorkspace != target || arrived < 0) {
            std::fprintf(stderr, "round %d: the switch to %s did not happen\n", round, qPrintable(target));
            return 1;
        }
        filesMs.push_back(arrived);
    }
    std::printf("%-8s %6d items, %2d switches: event loop held median %7.1f ms, worst %7.1f ms; files on the Desktop "
                "after median %7.1f ms, worst %7.1f ms\n",
                qPrintable(scenario), count, rounds, median(holds), *std::max_element(holds.begin(), holds.end()),
                median(filesMs), *std::max_element(filesMs.begin(), filesMs.end()));
    return 0;
}
