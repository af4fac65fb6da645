// Runs one settings-model operation on the current user's desktops folder, with the store, the
// archiver and the model built as the application builds them. Given --die-before N, the process
// ends itself with _exit(3) right before its N-th step (a file operation, or a store write before
// or after it happens); otherwise it prints the number of steps taken and exits 0.
// Usage: quorvane-model-step rename OLD NEW | delete NAME | archive NAME | cue NAME IMAGE
//        [--die-before N]
#include "Desktop/Archiver.h"
#include "Fakes/FakeFileOperations.h"
#include "FileStateStore.h"
#include "Settings/SettingsModel.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <unistd.h>

using namespace quorvane;

namespace {

int g_steps = 0;
int g_dieBefore = 0;

void step()
{
    if (++g_steps == g_dieBefore)
        ::_exit(3);
}

class SteppingStore final : public StateStore {
public:
    explicit SteppingStore(const Paths &paths)
        : m_inner(paths.config(), paths.journal())
    {
    }
    Config loadConfig() override { return m_inner.loadConfig(); }
    void saveConfig(const Config &config) override
    {
        step();
        m_inner.saveConfig(config);
        step();
    }
    std::optional<Journal> loadJournal() override { return m_inner.loadJournal(); }
    void saveJournal(const std::optional<Journal> &journal) override
    {
        step();
        m_inner.saveJournal(journal);
        step();
    }

private:
    FileStateStore m_inner;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const qsizetype flag = args.indexOf(QStringLiteral("--die-before"));
    if (flag >= 0 && flag + 1 < args.size()) {
        g_dieBefore = args.at(flag + 1).toInt();
        args.remove(flag, 2);
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: quorvane-model-step rename OLD NEW | delete NAME | archive NAME | cue NAME IMAGE\n");
        return 2;
    }
    const Paths paths = Paths::forHome(QDir::homePath());
    SteppingStore store(paths);
    test::FakeFileOperations files(paths.copyRecords());
    files.beforeStep = [](const QString &, const QString &) { step(); };
    Archiver archiver(store, paths, dateNow, &files);
    SettingsModel model(store, paths, &archiver, &files);
    model.isBusy = [&store] { return store.hasPendingJournal(); };

    const QString op = args.at(0);
    if (op == QLatin1String("rename") && args.size() == 3)
        model.rename(args.at(1), args.at(2));
    else if (op == QLatin1String("delete"))
        model.deleteWorkspace(args.at(1));
    else if (op == QLatin1String("archive"))
        model.archive(args.at(1));
    else if (op == QLatin1String("cue") && args.size() == 3)
        model.setCueImage(args.at(1), args.at(2));
    else
        return 2;
    if (model.errorMessage())
        std::printf("message: %s\n", qPrintable(*model.errorMessage()));
    if (model.deleteFailure())
        std::printf("delete failure: %s\n", qPrintable(model.deleteFailure()->reason));
    std::printf("steps %d\n", g_steps);
    return 0;
}
