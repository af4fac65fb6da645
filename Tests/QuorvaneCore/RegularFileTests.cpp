#include "RegularFile.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quorvane;

namespace {

TEST(RegularFile, ReplacesARegularFileInOneStepKeepingItsModeAndLeavesAnyOtherKindAlone)
{
    test::TempHome home;
    const QString file = home.filePath("own.json");
    test::writeFile(file, "first");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
    const auto inode = test::inodeOf(file);
    EXPECT_FALSE(RegularFile::write(file, "second"));
    EXPECT_EQ(test::readFile(file), "second");
    EXPECT_NE(test::inodeOf(file), inode);
    EXPECT_EQ(QFileInfo(file).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
    QFile::remove(file);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_TRUE(RegularFile::write(file, "third"));
    EXPECT_FALSE(QFileInfo(file).isFile());
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(), 1)
        << "no temporary file stays behind";
}

} // namespace
