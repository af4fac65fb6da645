#include "Triggers/AppCommand.h"

#include <QCoreApplication>

namespace quorvane {

namespace {

struct Option {
    const char *name;
    AppCommand::Kind kind;
};

constexpr Option options[] = {
    {"--switch-to", AppCommand::Kind::switchTo},
    {"--next", AppCommand::Kind::next},
    {"--previous", AppCommand::Kind::previous},
    {"--hide-desktop", AppCommand::Kind::hideDesktop},
    {"--carousel", AppCommand::Kind::carousel},
};

std::optional<AppCommand::Kind> kindOf(const QString &argument)
{
    for (const Option &option : options) {
        if (argument == QLatin1String(option.name))
            return option.kind;
    }
    return std::nullopt;
}

} // namespace

AppCommandLine AppCommandLine::parse(const QStringList &arguments)
{
    AppCommandLine result;
    const auto refuse = [&result](const QString &error) {
        result.command.reset();
        result.error = error;
        return result;
    };
    // The first argument is the program itself.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        std::optional<QString> attached;
        if (argument.startsWith(QLatin1String("--switch-to="))) {
            attached = argument.mid(12);
            argument = QStringLiteral("--switch-to");
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.help = true;
            continue;
        }
        if (argument == QLatin1String("--version")) {
            result.version = true;
            continue;
        }
        const auto kind = kindOf(argument);
        if (!kind) {
            if (argument.startsWith(QLatin1String("--")))
                return refuse(QCoreApplication::translate("AppCommandLine", "unknown option %1 (see --help)").arg(argument));
            continue; // Qt's own options and their values
        }
        if (result.command)
            return refuse(QCoreApplication::translate("AppCommandLine", "one request at a time: %1 after another request").arg(argument));
        AppCommand command{*kind};
        if (*kind == AppCommand::Kind::switchTo) {
            if (!attached) {
                if (i + 1 >= arguments.size())
                    return refuse(QCoreApplication::translate("AppCommandLine", "--switch-to needs the name of a desktop"));
                attached = arguments[++i];
            }
            if (attached->trimmed().isEmpty())
                return refuse(QCoreApplication::translate("AppCommandLine", "--switch-to needs the name of a desktop"));
            command.desktop = *attached;
        }
        result.command = command;
    }
    return result;
}

QString AppCommandLine::helpText()
{
    return QCoreApplication::translate("AppCommandLine", "Usage: quorvane [OPTION]\n"
                                                         "Without an option, starts Quorvane, or shows the settings of the one running.\n"
                                                         "With one, asks the running Quorvane (never starts it):\n"
                                                         "  --switch-to NAME  switch to the desktop NAME\n"
                                                         "  --next            switch to the next desktop\n"
                                                         "  --previous        switch to the previous desktop\n"
                                                         "  --hide-desktop    hide the desktop, or show it again\n"
                                                         "  --carousel        switch to the carousel's next desktop\n"
                                                         "  --version         print the version\n"
                                                         "  --help            show this text\n"
                                                         "Exit status: 0 done, 1 refused by Quorvane, 2 bad usage, 3 Quorvane is not running.\n");
}

QStringList AppCommandLine::optionNames()
{
    QStringList names;
    for (const Option &option : options)
        names << QLatin1String(option.name);
    names << QStringLiteral("--version") << QStringLiteral("--help") << QStringLiteral("-h");
    return names;
}

QString AppCommandLine::versionText()
{
    return QStringLiteral("quorvane " QUORVANE_VERSION);
}

} // namespace quorvane
