#include "Triggers/AppCommand.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

AppCommandLine parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("quorvane"));
    return AppCommandLine::parse(arguments);
}

} // namespace

TEST(AppCommandLine, EachOptionIsOneRequestAndQtsOwnOptionsAreLeftToQt)
{
    EXPECT_EQ(parse({}).command, std::nullopt);
    EXPECT_EQ(parse({QStringLiteral("-platform"), QStringLiteral("xcb")}).command, std::nullopt);
    EXPECT_EQ(parse({QStringLiteral("--switch-to"), QStringLiteral("Work Two")}).command,
              (AppCommand{AppCommand::Kind::switchTo, QStringLiteral("Work Two")}));
    EXPECT_EQ(parse({QStringLiteral("--switch-to=Ré")}).command, (AppCommand{AppCommand::Kind::switchTo, QStringLiteral("Ré")}));
    // A desktop may be named like an option.
    EXPECT_EQ(parse({QStringLiteral("--switch-to"), QStringLiteral("--next")}).command,
              (AppCommand{AppCommand::Kind::switchTo, QStringLiteral("--next")}));
    EXPECT_EQ(parse({QStringLiteral("--next")}).command, AppCommand{AppCommand::Kind::next});
    EXPECT_EQ(parse({QStringLiteral("--previous")}).command, AppCommand{AppCommand::Kind::previous});
    EXPECT_EQ(parse({QStringLiteral("--hide-desktop")}).command, AppCommand{AppCommand::Kind::hideDesktop});
    EXPECT_EQ(parse({QStringLiteral("--carousel")}).command, AppCommand{AppCommand::Kind::carousel});
    EXPECT_TRUE(parse({QStringLiteral("--help")}).help);
}

TEST(AppCommandLine, AMissingNameAnUnknownOptionAndTwoRequestsAreUsageErrors)
{
    for (const QStringList &arguments : {QStringList{QStringLiteral("--switch-to")}, QStringList{QStringLiteral("--switch-to=")},
                                         QStringList{QStringLiteral("--switch-to"), QStringLiteral("  ")},
                                         QStringList{QStringLiteral("--nex")},
                                         QStringList{QStringLiteral("--next"), QStringLiteral("--previous")}}) {
        const AppCommandLine line = parse(arguments);
        EXPECT_FALSE(line.error.isEmpty()) << arguments.join(u' ').toStdString();
        EXPECT_EQ(line.command, std::nullopt) << arguments.join(u' ').toStdString();
    }
}

TEST(AppCommandLine, VersionIsAnsweredWithoutARequestAndEveryOptionIsDocumented)
{
    const AppCommandLine version = parse({QStringLiteral("--next"), QStringLiteral("--version")});
    EXPECT_TRUE(version.version);
    EXPECT_TRUE(version.error.isEmpty());
    EXPECT_FALSE(parse({QStringLiteral("--next")}).version);
    EXPECT_EQ(AppCommandLine::versionText(), QStringLiteral("quorvane " QUORVANE_VERSION));

    // Every option the parser takes is in --help and in the manual page (where "-" is "\-").
    QFile page(QStringLiteral(QUORVANE_SOURCE_DIR "/Resources/quorvane.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
    const QStringList names = AppCommandLine::optionNames();
    EXPECT_GE(names.size(), 8);
    for (const QString &name : names) {
        const AppCommandLine line = parse({name, QStringLiteral("Work")});
        EXPECT_TRUE(line.error.isEmpty()) << name.toStdString();
        EXPECT_TRUE(line.command || line.help || line.version) << name.toStdString();
        if (name.startsWith(QLatin1String("--"))) {
            EXPECT_TRUE(AppCommandLine::helpText().contains(name + QLatin1Char(' '))) << name.toStdString();
        }
        EXPECT_TRUE(manual.contains(QRegularExpression(QStringLiteral("(^|[^-\\w])") + QRegularExpression::escape(name)
                                                       + QStringLiteral("($|[^-\\w])"))))
            << name.toStdString() << " is not in the manual page";
    }
}
