#include "Keys/CustomShortcutList.h"
#include "Keys/GtkAccelerator.h"
#include "Session/GSettingsTool.h"
#include "TestEnvironment.h"
#include "Work/HostWork.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quorvane;
using Command = HotKeyRegistrar::Command;

namespace {

const QString keys = "org.gnome.settings-daemon.plugins.media-keys";
const QString entry = keys + ".custom-keybinding";
const QString base = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/";
const QString ours = base + "quorvane0/";

// The session's settings in memory, as the gsettings tool prints them; an unset key reads as
// its schema's default.
class FakeGSettings final : public GSettingsAccess {
public:
    std::map<QString, QString> stored;               // "schema[:path] key" to value
    std::map<QString, QMap<QString, QString>> fixed; // other schemas' whole values
    QString failingKey;                              // a key whose writes fail
    bool unlisted = false;                           // a store that can't list its folders
    std::map<QString, QString> defaults{{"custom-keybindings", "@as []"}, {"custom-list", "@as []"}, {"name", "''"}, {"command", "''"}, {"action", "''"}, {"binding", "''"}};

    static QString at(const QString &schema, const QString &path, const QString &key)
    {
        return (path.isEmpty() ? schema : schema + ":" + path) + " " + key;
    }
    std::optional<QString> get(const QString &schema, const QString &path, const QString &key, QString &) override
    {
        const auto found = stored.find(at(schema, path, key));
        return found != stored.end() ? found->second : defaults.at(key);
    }
    std::optional<QString> set(const QString &schema, const QString &path, const QString &key, const QString &value) override
    {
        if (key == failingKey)
            return QString("No such key");
        stored[at(schema, path, key)] = value;
        return std::nullopt;
    }
    std::optional<QString> reset(const QString &schema, const QString &path, const QString &key) override
    {
        stored.erase(at(schema, path, key));
        return std::nullopt;
    }
    std::optional<QMap<QString, QString>> values(const QString &schema) override
    {
        const auto found = fixed.find(schema);
        if (found == fixed.end())
            return std::nullopt;
        return found->second;
    }
    // As dconf lists them: a folder is there while one of its keys is set.
    std::optional<QStringList> folders(const QString &path) override
    {
        if (unlisted)
            return std::nullopt;
        QStringList names;
        for (const auto &[at, value] : stored) {
            const QString place = at.section(' ', 0, 0).section(':', 1);
            if (place.startsWith(path) && place.count('/') == path.count('/') + 1
                && !names.contains(place.mid(path.size()).chopped(1)))
                names << place.mid(path.size()).chopped(1);
        }
        return names;
    }
    QString value(const QString &schema, const QString &path, const QString &key)
    {
        QString error;
        return *get(schema, path, key, error);
    }
    QStringList list() { return *gsettings::strings(value(keys, {}, "custom-keybindings")); }
};

// Hands the calls on to settings that outlive the list.
class Forward final : public GSettingsAccess {
public:
    explicit Forward(GSettingsAccess &to)
        : m_to(to)
    {
    }
    std::optional<QString> get(const QString &s, const QString &p, const QString &k, QString &e) override { return m_to.get(s, p, k, e); }
    std::optional<QString> set(const QString &s, const QString &p, const QString &k, const QString &v) override { return m_to.set(s, p, k, v); }
    std::optional<QString> reset(const QString &s, const QString &p, const QString &k) override { return m_to.reset(s, p, k); }
    std::optional<QMap<QString, QString>> values(const QString &s) override { return m_to.values(s); }
    std::optional<QStringList> folders(const QString &p) override { return m_to.folders(p); }

private:
    GSettingsAccess &m_to;
};

struct CustomShortcutListTest : ::testing::Test {
    test::TempHome home;
    FakeGSettings gnome;
    FakeGSettings *settings = &gnome;
    SettingsLedger ledger = SettingsLedger::inStore(home.path());
    std::unique_ptr<CustomShortcutList> list = make(CustomShortcutList::Dialect::gnome());
    std::vector<quint32> refused;

    void SetUp() override
    {
        HostWork::setInline(true);
        // The user's own entry, before and after ours.
        settings->stored[FakeGSettings::at(keys, {}, "custom-keybindings")] = "['" + base + "custom0/']";
        settings->stored[FakeGSettings::at(entry, base + "custom0/", "name")] = "'Terminal'";
        settings->stored[FakeGSettings::at(entry, base + "custom0/", "binding")] = "'<Ctrl><Alt>t'";
    }
    std::unique_ptr<CustomShortcutList> make(CustomShortcutList::Dialect dialect, FakeGSettings *fake = nullptr)
    {
        auto made = std::make_unique<CustomShortcutList>(dialect, std::make_unique<Forward>(fake ? *fake : gnome), ledger,
                                                         "/opt/quorvane/bin/quorvane");
        QObject::connect(made.get(), &HotKeyRegistrar::refused, [this](quint32 id) { refused.push_back(id); });
        return made;
    }
    static Command work() { return {"Quorvane: Work", {"--switch-to", "Work"}}; }
    bool userEntryIntact()
    {
        return settings->list().contains(base + "custom0/")
            && settings->value(entry, base + "custom0/", "name") == "'Terminal'"
            && settings->value(entry, base + "custom0/", "binding") == "'<Ctrl><Alt>t'";
    }
};

} // namespace

TEST(GSettingsText, StringsAndListsReadAndWriteAsTheToolPrintsThem)
{
    EXPECT_EQ(gsettings::strings("'a'"), QStringList{"a"});
    EXPECT_EQ(gsettings::strings("@as []"), QStringList{});
    EXPECT_EQ(gsettings::strings("['/x/', \"it's\", 'a\\'b']"), (QStringList{"/x/", "it's", "a'b"}));
    EXPECT_FALSE(gsettings::strings("uint32 5"));
    EXPECT_FALSE(gsettings::strings("['a' 'b']"));
    EXPECT_FALSE(gsettings::strings("'a', 'b'"));
    EXPECT_FALSE(gsettings::strings("['open"));
    const QStringList texts{"plain", "it's", "back\\slash"};
    EXPECT_EQ(gsettings::strings(gsettings::quotedList(texts)), texts);
    EXPECT_EQ(gsettings::quotedList({}), "@as []");
}

TEST(GtkAccelerators, CombinationsAreSpelledAsTheDesktopsSettingsAndComparedHoweverSpelled)
{
    EXPECT_EQ(gtkaccel::accelerator(Qt::CTRL | Qt::ALT | Qt::Key_2), "<Control><Alt>2");
    EXPECT_EQ(gtkaccel::accelerator(Qt::META | Qt::SHIFT | Qt::Key_A), "<Shift><Super>a");
    EXPECT_EQ(gtkaccel::accelerator(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus), "<Control>KP_Add");
    EXPECT_EQ(gtkaccel::accelerator(Qt::ALT | Qt::Key_PageDown), "<Alt>Page_Down");
    EXPECT_EQ(gtkaccel::accelerator(Qt::ALT | Qt::Key_BracketLeft), "<Alt>bracketleft");
    EXPECT_FALSE(gtkaccel::accelerator(Qt::ALT | Qt::Key_Launch0));
    EXPECT_EQ(gtkaccel::normalized("<Primary><Mod1>T"), gtkaccel::normalized("<Alt><Control>t"));
    EXPECT_EQ(gtkaccel::normalized("<Ctrl><Alt>t"), gtkaccel::normalized("<Control><Alt>t"));
    EXPECT_NE(gtkaccel::normalized("<Control><Alt>t"), gtkaccel::normalized("<Control><Alt><Shift>t"));
    EXPECT_NE(gtkaccel::normalized("<Super>2"), gtkaccel::normalized("<Control>2"));
    EXPECT_EQ(gtkaccel::normalized("disabled"), QString());
    EXPECT_EQ(gtkaccel::normalized(""), QString());
}

TEST_F(CustomShortcutListTest, EachKeyIsAnEntryAddedChangedAndRemovedBesideTheUsersOwn)
{
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_2, 1, work()));
    EXPECT_EQ(settings->list(), (QStringList{base + "custom0/", ours}));
    EXPECT_EQ(settings->value(entry, ours, "name"), "'Quorvane: Work'");
    EXPECT_EQ(settings->value(entry, ours, "command"), "'/opt/quorvane/bin/quorvane --switch-to Work'");
    EXPECT_EQ(settings->value(entry, ours, "binding"), "'<Control><Alt>2'");
    // Kept in the ledger, so that a crash leaves nothing behind.
    ASSERT_EQ(ledger.entries("shortcuts:gnome")->size(), 1u);
    EXPECT_EQ(ledger.entries("shortcuts:gnome")->front().setting, ours);

    // A name with a space and a quote still reaches the command line as one argument.
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_3, 2, Command{"Quorvane: Bob's", {"--switch-to", "Bob's desk"}}));
    EXPECT_EQ(*gsettings::strings(settings->value(entry, base + "quorvane1/", "command")),
              QStringList{"/opt/quorvane/bin/quorvane --switch-to 'Bob'\\''s desk'"});

    // Changed: the first let go and taken again with another key.
    list->unregisterHotKey(1);
    EXPECT_EQ(settings->list(), (QStringList{base + "custom0/", base + "quorvane1/"}));
    EXPECT_EQ(settings->value(entry, ours, "name"), "''"); // back to its default
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_4, 3, work()));
    EXPECT_EQ(settings->value(entry, ours, "binding"), "'<Control><Alt>4'");
    EXPECT_TRUE(refused.empty());

    // Quitting takes every entry of ours out, and the ledger forgets them.
    list.reset();
    EXPECT_EQ(settings->list(), QStringList{base + "custom0/"});
    EXPECT_EQ(settings->stored.count(FakeGSettings::at(entry, ours, "binding")), 0u);
    EXPECT_EQ(ledger.entries("shortcuts:gnome"), std::vector<SettingsLedger::Entry>{});
    EXPECT_TRUE(userEntryIntact());
}

TEST_F(CustomShortcutListTest, ABindingTheDesktopUsesIsRefusedAndNothingWritten)
{
    settings->fixed["org.gnome.desktop.wm.keybindings"] = {{"switch-to-workspace-left", "['<Super>Page_Up', '<Control><Alt>Left']"},
                                                           {"close", "@as []"}};
    const auto before = settings->stored;
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_T, 4, work()));    // the user's Terminal
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_Left, 5, work())); // the window manager's
    EXPECT_EQ(refused, (std::vector<quint32>{4, 5}));
    EXPECT_EQ(settings->stored, before);
    EXPECT_EQ(ledger.entries("shortcuts:gnome"), std::vector<SettingsLedger::Entry>{});
    // Refused at once: a key without a command, its own combination twice, an id held.
    EXPECT_FALSE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_5, 6, std::nullopt));
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_5, 7, work()));
    EXPECT_FALSE(list->registerHotKey(Qt::ALT | Qt::CTRL | Qt::Key_5, 8, work()));
    EXPECT_FALSE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_6, 7, work()));
    // A refused key can be taken again once it is free.
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_Right, 5, work()));
    EXPECT_EQ(refused.size(), 2u);
    EXPECT_TRUE(userEntryIntact());
}

TEST_F(CustomShortcutListTest, AnEntryIsKeptInTheLedgerFirstAndAFailedWriteLeavesNothing)
{
    // A ledger that cannot be read is never written over: the entry is refused unwritten.
    QFile file(ledger.file());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not json");
    file.close();
    const auto before = settings->stored;
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_2, 1, work()));
    EXPECT_EQ(refused, std::vector<quint32>{1});
    EXPECT_EQ(settings->stored, before);
    ASSERT_TRUE(QFile::remove(ledger.file()));

    // The list cannot be written: the entry's keys go back and the ledger forgets it.
    settings->failingKey = "custom-keybindings";
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_2, 2, work()));
    EXPECT_EQ(refused, (std::vector<quint32>{1, 2}));
    EXPECT_EQ(settings->stored, before);
    EXPECT_EQ(ledger.entries("shortcuts:gnome"), std::vector<SettingsLedger::Entry>{});
}

TEST_F(CustomShortcutListTest, TheNextStartTakesOutWhatACrashLeftButNotWhatTheUserMadeTheirs)
{
    // A crashed process's entries: one as written, one the user renamed since.
    for (const auto &[item, name] : {std::pair{ours, QString("'Quorvane: Work'")}, {base + "quorvane1/", "'My switch'"}}) {
        ASSERT_EQ(ledger.keep({"shortcuts:gnome", item, QVariant(), QString("Quorvane: %1").arg(item.contains("0") ? "Work" : "B")}),
                  std::nullopt);
        settings->stored[FakeGSettings::at(entry, item, "name")] = name;
        settings->stored[FakeGSettings::at(entry, item, "binding")] = "'<Control><Alt>2'";
    }
    settings->stored[FakeGSettings::at(keys, {}, "custom-keybindings")] =
        gsettings::quotedList({base + "custom0/", ours, base + "quorvane1/"});
    list->releaseLeftovers();
    EXPECT_EQ(settings->list(), (QStringList{base + "custom0/", base + "quorvane1/"}));
    EXPECT_EQ(settings->value(entry, ours, "name"), "''");
    EXPECT_EQ(settings->value(entry, base + "quorvane1/", "name"), "'My switch'");
    EXPECT_EQ(ledger.entries("shortcuts:gnome"), std::vector<SettingsLedger::Entry>{});
    EXPECT_TRUE(userEntryIntact());
}

TEST_F(CustomShortcutListTest, CinnamonsListNamesItsEntriesAndBindsAList)
{
    FakeGSettings cinnamonSettings;
    FakeGSettings *cinnamon = &cinnamonSettings;
    list = make(CustomShortcutList::Dialect::cinnamon(), cinnamon);
    const QString keysC = "org.cinnamon.desktop.keybindings";
    cinnamon->stored[FakeGSettings::at(keysC, {}, "custom-list")] = "['custom0']";
    cinnamon->stored[FakeGSettings::at(keysC + ".custom-keybinding", "/org/cinnamon/desktop/keybindings/custom-keybindings/custom0/",
                                       "binding")] = "['<Super>e']";
    ASSERT_TRUE(list->registerHotKey(Qt::META | Qt::Key_E, 1, work()));
    ASSERT_TRUE(list->registerHotKey(Qt::META | Qt::Key_W, 2, work()));
    EXPECT_EQ(refused, std::vector<quint32>{1});
    EXPECT_EQ(cinnamon->value(keysC, {}, "custom-list"), "['custom0', 'quorvane0']");
    EXPECT_EQ(cinnamon->value(keysC + ".custom-keybinding", "/org/cinnamon/desktop/keybindings/custom-keybindings/quorvane0/",
                              "binding"),
              "['<Super>w']");
    list->unregisterHotKey(2);
    EXPECT_EQ(cinnamon->value(keysC, {}, "custom-list"), "['custom0']");
    list.reset(); // before the settings it writes go
}

TEST_F(CustomShortcutListTest, MatesEntriesAreTheFoldersOfItsKeybindingsPathWithAnAction)
{
    FakeGSettings mateSettings;
    FakeGSettings *mate = &mateSettings;
    list = make(CustomShortcutList::Dialect::mate(), mate);
    const QString schema = "org.mate.control-center.keybinding";
    const QString folder = "/org/mate/desktop/keybindings/";
    // The user's own entries, with a gap MATE's own tool left.
    mate->stored[FakeGSettings::at(schema, folder + "custom0/", "binding")] = "'<Super>e'";
    mate->stored[FakeGSettings::at(schema, folder + "custom2/", "name")] = "'Mine'";
    ASSERT_TRUE(list->registerHotKey(Qt::META | Qt::Key_E, 1, work()));
    ASSERT_TRUE(list->registerHotKey(Qt::META | Qt::Key_W, 2, work()));
    EXPECT_EQ(refused, std::vector<quint32>{1});
    EXPECT_EQ(mate->value(schema, folder + "custom1/", "binding"), "'<Super>w'");
    EXPECT_EQ(mate->value(schema, folder + "custom1/", "action"), "'/opt/quorvane/bin/quorvane --switch-to Work'");
    EXPECT_EQ(ledger.entries("shortcuts:mate")->front().setting, "custom1");
    // Let go, its keys are reset and the folder goes; a store that can't be listed refuses.
    list->unregisterHotKey(2);
    EXPECT_EQ(mate->folders(folder), (QStringList{"custom0", "custom2"}));
    mate->unlisted = true;
    ASSERT_TRUE(list->registerHotKey(Qt::META | Qt::Key_W, 3, work()));
    EXPECT_EQ(refused, (std::vector<quint32>{1, 3}));
    EXPECT_EQ(ledger.entries("shortcuts:mate"), std::vector<SettingsLedger::Entry>{});
    list.reset();
}

// An entry parked at quorvane0 outside the list (the user's, another tool's) is not ours: the
// next free place is taken, and neither a quit nor the next start after a crash touches it.
TEST_F(CustomShortcutListTest, AnEntryParkedOutsideTheListIsNeverTakenOver)
{
    settings->stored[FakeGSettings::at(entry, ours, "name")] = "'Parked'";
    settings->stored[FakeGSettings::at(entry, ours, "command")] = "'xterm'";
    settings->stored[FakeGSettings::at(entry, base + "quorvane1/", "binding")] = "'<Super>p'"; // a binding alone
    const auto parked = [&] {
        return settings->value(entry, ours, "name") == "'Parked'" && settings->value(entry, ours, "command") == "'xterm'"
            && settings->value(entry, base + "quorvane1/", "binding") == "'<Super>p'" && !settings->list().contains(ours);
    };
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_2, 1, work()));
    EXPECT_EQ(settings->list(), (QStringList{base + "custom0/", base + "quorvane2/"}));
    EXPECT_EQ(settings->value(entry, base + "quorvane2/", "name"), "'Quorvane: Work'");
    EXPECT_TRUE(parked());
    list.reset(); // quit
    EXPECT_TRUE(parked());

    list = make(CustomShortcutList::Dialect::gnome());
    ASSERT_TRUE(list->registerHotKey(Qt::CTRL | Qt::ALT | Qt::Key_2, 1, work()));
    // A kill -9: the settings and the ledger as they stood, nothing let go.
    const auto crashed = settings->stored;
    QFile kept(ledger.file());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QByteArray ledgerBytes = kept.readAll();
    kept.close();
    list = make(CustomShortcutList::Dialect::gnome());
    settings->stored = crashed;
    test::writeFile(ledger.file(), ledgerBytes);
    EXPECT_TRUE(settings->list().contains(base + "quorvane2/"));
    list->releaseLeftovers();
    EXPECT_EQ(settings->list(), QStringList{base + "custom0/"});
    EXPECT_TRUE(parked());
    EXPECT_TRUE(userEntryIntact());
    EXPECT_TRUE(refused.empty());
}
