#include "Triggers/AppCommand.h"

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
