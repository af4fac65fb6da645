// The document input and output of a switch and of a settings setter, run by the controller as
// the application runs it (the desktop's services faked, the store real, in a temporary home):
// two desktops of 10 items each, ten rounds of one switch and one setOverlaysMuted each, every
// operation followed by what its refresh runs. Before each operation it opens a file named after
// it that does not exist, so that a system-call trace (document_io.sh) tells the operations
// apart (its own checks run under a mark of their own). Prints nothing; exits 1 when a switch
// did not happen.
#include "Controller/ControllerHarness.h"
#include "GuiProcessEnvironment.h"
#include "Settings/SettingsModel.h"

#include <QApplication>
#include <QLoggingCategory>

#include <fcntl.h>
#include <unistd.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct Home : ControllerHarness {
    void TestBody() override {}
};

// The trace's mark: an open that fails.
void mark(const Home &home, const char *operation)
{
    const QByteArray path = QFile::encodeName(home.home.path()) + "/.mark-" + operation;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
}

QStringList names(const char *prefix)
{
    QStringList out;
    for (int i = 0; i < 10; ++i)
        out.append(QStringLiteral("%1-%2.txt").arg(QLatin1String(prefix)).arg(i));
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    isolateGuiProcessEnvironment();
    QApplication app(argc, argv);
    Home home;
    home.SetUp();
    QLoggingCategory::setFilterRules(QStringLiteral("*.info=false\n*.debug=false\n*.warning=false"));
    Config config = home.layOut({{"One", names("one")}, {"Two", names("two")}});
    config.settings.shownFirstSwitchNote = true;
    home.save(config);

    AppController controller(home.environment());
    controller.completeLaunch();
    SettingsModel &model = controller.ensureSettingsModel();
    home.scheduler.advance(5);
    QCoreApplication::processEvents();

    for (int round = 0; round < 10; ++round) {
        const QString target = round % 2 == 0 ? QStringLiteral("Two") : QStringLiteral("One");
        mark(home, "switch");
        controller.performSwitch(target, true);
        home.scheduler.advance(2); // what the switch leaves for later
        QCoreApplication::processEvents();
        mark(home, "check"); // the harness's own read, not counted
        if (home.load().activeWorkspace != target)
            return 1;
        mark(home, "setter");
        model.setOverlaysMuted(round % 2 == 0);
        home.scheduler.advance(2);
        QCoreApplication::processEvents();
    }
    mark(home, "end");
    return 0;
}
