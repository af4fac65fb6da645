#include "SettingsLedger.h"
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quorvane;
using Entry = SettingsLedger::Entry;

TEST(SettingsLedger, EntriesKeepTheirTypesAndGoWithTheFileWhenAllAreBack)
{
    test::TempHome home;
    SettingsLedger ledger = SettingsLedger::inStore(home.path());
    EXPECT_EQ(ledger.entries(), std::vector<Entry>{}); // no file: nothing borrowed
    const Entry style{"background:host", "style", 5, 0};
    const Entry rgba{"background:host", "rgba", QVariant(), QVariantList{0.5, true, "x"}};
    const Entry scheme{"appearance", "color-scheme", "'default'", "'prefer-dark'"};
    ASSERT_EQ(ledger.keep(style), std::nullopt);
    ASSERT_EQ(ledger.keep(rgba), std::nullopt);
    ASSERT_EQ(ledger.keep(scheme), std::nullopt);
    Entry restyled = style;
    restyled.written = 3;
    ASSERT_EQ(ledger.keep(restyled), std::nullopt); // one entry per setting

    // Another object over the same file (the next process) reads them back exactly.
    const SettingsLedger next(home.filePath("ledger.json"));
    EXPECT_EQ(next.entries(), (std::vector<Entry>{restyled, rgba, scheme}));
    EXPECT_EQ(next.entries("appearance"), std::vector<Entry>{scheme});

    ASSERT_EQ(ledger.replace("background:host", {}), std::nullopt);
    EXPECT_EQ(ledger.entries(), std::vector<Entry>{scheme});
    ASSERT_EQ(ledger.forget("appearance", "color-scheme"), std::nullopt);
    EXPECT_FALSE(QFile::exists(ledger.file()));
}

TEST(SettingsLedger, AnUnreadableLedgerIsNeverReplaced)
{
    test::TempHome home;
    SettingsLedger ledger = SettingsLedger::inStore(home.path());
    for (const QByteArray &bytes : {QByteArray("{\"entries\": [{\"facility\": 1}]}"), QByteArray("not json")}) {
        test::writeFile(ledger.file(), bytes);
        EXPECT_EQ(ledger.entries(), std::nullopt);
        EXPECT_TRUE(ledger.keep({"appearance", "color-scheme", "'default'", "'prefer-dark'"}).has_value());
        EXPECT_TRUE(ledger.forget("appearance", "color-scheme").has_value());
        QFile file(ledger.file());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), bytes);
    }
}

// What was written over the same user value stays known as ours, through the file, the latest few.
TEST(SettingsLedger, AnEntryKnowsWhatWasWrittenBeforeOverTheUsersValue)
{
    test::TempHome home;
    SettingsLedger ledger = SettingsLedger::inStore(home.path());
    Entry entry{"background:host", "picture", "/home/me/mine.jpg", "/home/me/mine.jpg"};
    for (int i = 0; i < SettingsLedger::earlierLimit + 3; ++i)
        entry = entry.writing(QStringLiteral("/store/cue-%1.png").arg(i));
    entry = entry.writing(QStringLiteral("/store/cue-%1.png").arg(SettingsLedger::earlierLimit + 2)); // the same again
    EXPECT_FALSE(entry.holdsOurs("/home/me/mine.jpg"));
    EXPECT_TRUE(entry.holdsOurs(QStringLiteral("/store/cue-%1.png").arg(SettingsLedger::earlierLimit + 2)));
    EXPECT_TRUE(entry.holdsOurs("/store/cue-2.png"));  // the eight before the latest
    EXPECT_FALSE(entry.holdsOurs("/store/cue-1.png")); // past the limit
    EXPECT_EQ(entry.earlier.size(), SettingsLedger::earlierLimit);
    ASSERT_EQ(ledger.keep(entry), std::nullopt);
    EXPECT_EQ(SettingsLedger(ledger.file()).entries(), std::vector<Entry>{entry});
}
