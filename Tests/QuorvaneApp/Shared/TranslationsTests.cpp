#include "Shared/Translations.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// A catalogue of one message, compiled by Qt's lrelease (qt6-l10n-tools) as a translator would.
bool writeCatalogue(const QString &qmPath, const QString &context, const QString &source, const QString &translation)
{
    const QString tsPath = qmPath + QStringLiteral(".ts");
    test::writeFile(tsPath,
                    QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" language=\"de_DE\">"
                                   "<context><name>%1</name><message><source>%2</source><translation>%3</translation></message>"
                                   "</context></TS>\n")
                        .arg(context, source, translation)
                        .toUtf8());
    QProcess lrelease;
    lrelease.start(QStringLiteral("/usr/lib/qt6/bin/lrelease"), {QStringLiteral("-silent"), tsPath, QStringLiteral("-qm"), qmPath});
    return lrelease.waitForFinished(30000) && lrelease.exitStatus() == QProcess::NormalExit && lrelease.exitCode() == 0;
}

} // namespace

TEST(Translations, TheInstallsShareFolderHoldsTheCatalogues)
{
    EXPECT_EQ(Translations::folderFor(QStringLiteral("/opt/q/bin")), QStringLiteral("/opt/q/" QUORVANE_DATADIR "/quorvane/translations"));
}

TEST(Translations, TheUsersCatalogueTranslatesTextsAndNoneLeavesThemEnglish)
{
    test::TempHome folder;
    QTranslator none;
    EXPECT_FALSE(Translations::install(none, QLocale(QLocale::German, QLocale::Germany), folder.path()));
    EXPECT_EQ(QCoreApplication::translate("MainMenu", "Window"), QStringLiteral("Window"));

    ASSERT_TRUE(writeCatalogue(folder.filePath("quorvane_de.qm"), "MainMenu", "Window", "Fenster"));
    QTranslator german;
    ASSERT_TRUE(Translations::install(german, QLocale(QLocale::German, QLocale::Germany), folder.path()));
    EXPECT_EQ(QCoreApplication::translate("MainMenu", "Window"), QStringLiteral("Fenster"));
    QCoreApplication::removeTranslator(&german);
    EXPECT_EQ(QCoreApplication::translate("MainMenu", "Window"), QStringLiteral("Window"));
}
