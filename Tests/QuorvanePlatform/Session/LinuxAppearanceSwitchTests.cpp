#include "Session/AppearanceSwitch.h"
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quorvane;
using Entry = SettingsLedger::Entry;

namespace {

// A theme setting of the session, "X" and its dark variant "X-dark"; each change also records
// what the ledger held at that moment.
struct Session {
    QString theme = "Arc";
    std::vector<std::vector<Entry>> ledgerAtChange;
};

class FakeThemeSetting final : public LookSetting {
public:
    FakeThemeSetting(Session &session, const SettingsLedger &ledger)
        : m_session(session)
        , m_ledger(ledger)
    {
    }
    QString name() const override { return "theme"; }
    std::optional<QString> get(QString &) const override { return m_session.theme; }
    std::optional<QString> set(const QString &value) override
    {
        m_session.ledgerAtChange.push_back(m_ledger.entries().value_or(std::vector<Entry>{}));
        m_session.theme = value;
        return std::nullopt;
    }
    std::optional<QString> darkValue(const QString &current) const override
    {
        return isDark(current) ? current : current + "-dark";
    }
    std::optional<QString> lightValue(const QString &current) const override
    {
        return QString(current).remove("-dark");
    }
    bool isDark(const QString &value) const override { return value.endsWith("-dark"); }

private:
    Session &m_session;
    const SettingsLedger &m_ledger;
};

struct AppearanceLedger : ::testing::Test {
    test::TempHome store;
    SettingsLedger ledger = SettingsLedger::inStore(store.path());
    Session session;

    // A process's switch over the store's ledger.
    std::unique_ptr<LinuxAppearanceSwitch> process()
    {
        std::vector<std::unique_ptr<LookSetting>> settings;
        settings.push_back(std::make_unique<FakeThemeSetting>(session, ledger));
        return std::make_unique<LinuxAppearanceSwitch>(ledger, std::move(settings));
    }
};

} // namespace

TEST_F(AppearanceLedger, TheUsersValueIsKeptBeforeTheChangeAndComesBackAfterACrash)
{
    auto first = process();
    EXPECT_FALSE(first->borrowing());
    ASSERT_EQ(first->setDark(true), std::nullopt);
    EXPECT_EQ(session.theme, "Arc-dark");
    const Entry kept{"appearance", "theme", "Arc", "Arc-dark"};
    ASSERT_EQ(session.ledgerAtChange.size(), 1u);
    EXPECT_EQ(session.ledgerAtChange[0], std::vector<Entry>{kept});
    first.reset(); // a kill -9: nothing is given back

    // The next process finds the user's value and gives it back.
    auto next = process();
    EXPECT_TRUE(next->borrowing());
    EXPECT_EQ(next->putBack(), std::nullopt);
    EXPECT_EQ(session.theme, "Arc");
    EXPECT_FALSE(next->borrowing());
    EXPECT_FALSE(QFile::exists(ledger.file()));

    // A light desktop over the user's own dark theme borrows it too, and gives it back.
    session.theme = "Arc-dark";
    next->setDark(false);
    EXPECT_EQ(session.theme, "Arc");
    EXPECT_EQ(ledger.entries(), (std::vector<Entry>{{"appearance", "theme", "Arc-dark", "Arc"}}));
    next->setDark(true); // a dark desktop: the user's own value again, nothing borrowed
    EXPECT_EQ(session.theme, "Arc-dark");
    EXPECT_FALSE(next->borrowing());
}

TEST_F(AppearanceLedger, AValueTheUserChangedMeanwhileIsTheirsAndStays)
{
    process()->setDark(true);
    session.theme = "Plain"; // the user's pick while dark
    auto next = process();
    EXPECT_EQ(next->putBack(), std::nullopt);
    EXPECT_EQ(session.theme, "Plain");
    EXPECT_FALSE(next->borrowing());

    next->setDark(true);
    session.theme = "Other";
    next->setDark(false); // the light desktop's switch keeps it as well
    EXPECT_EQ(session.theme, "Other");
    EXPECT_FALSE(QFile::exists(ledger.file()));
}

TEST_F(AppearanceLedger, NothingChangesWhenTheLedgerCannotKeepTheUsersValue)
{
    test::writeFile(ledger.file(), "garbage");
    auto appearance = process();
    EXPECT_TRUE(appearance->setDark(true).has_value());
    EXPECT_TRUE(appearance->putBack().has_value());
    EXPECT_EQ(session.theme, "Arc");
    EXPECT_TRUE(session.ledgerAtChange.empty());
}
