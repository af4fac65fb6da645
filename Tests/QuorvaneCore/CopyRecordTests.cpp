#include "CopyRecord.h"
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::fileops;
using quorvane::test::TempHome;
using quorvane::test::writeFile;

namespace {

TEST(CopyRecord, ARecordNamingAHiddenFolderItsCopyCouldNotHaveMadeIsNoRecord)
{
    const CopyRecord record = CopyRecord::start(CopyRecord::Kind::copy, "/home/u/a.png", "/home/u/Work/a.png");
    ASSERT_TRUE(CopyRecord::decode(record.encode()));
    const auto with = [&](const char *key, const QByteArray &value) {
        QByteArray bytes = record.encode();
        const qsizetype at = bytes.indexOf(QByteArray("\n") + key + ' ') + 1;
        const qsizetype end = bytes.indexOf('\n', at);
        return bytes.replace(at, end - at, QByteArray(key) + ' ' + value);
    };
    // Elsewhere than beside the target, under another token, a relative path, a bad token.
    EXPECT_FALSE(CopyRecord::decode(with("temporary", "/home/u/Documents")));
    EXPECT_FALSE(CopyRecord::decode(with("temporary", "/home/u/Work/.quorvane-copy-0123456789abcdef-a.png")));
    EXPECT_FALSE(CopyRecord::decode(with("target", "Work/a.png")));
    EXPECT_FALSE(CopyRecord::decode(with("token", "../../x")));
    EXPECT_FALSE(CopyRecord::decode(record.encode().left(40)));
}

TEST(CopyRecord, LoadingRemovesOnlyTheRecordsOwnLeftovers)
{
    TempHome home;
    const QString folder = home.path() + "/copies";
    writeFile(folder + "/0123456789abcdef.new", "half written");
    writeFile(folder + "/fedcba9876543210", "not a record");
    writeFile(folder + "/notes.txt", "someone's");
    std::vector<CopyRecord> loaded;
    ASSERT_EQ(loadCopyRecords(QFile::encodeName(folder), loaded), 0);
    EXPECT_TRUE(loaded.empty());
    EXPECT_FALSE(QFile::exists(folder + "/0123456789abcdef.new"));
    EXPECT_FALSE(QFile::exists(folder + "/fedcba9876543210"));
    EXPECT_TRUE(QFile::exists(folder + "/notes.txt"));
}

} // namespace
