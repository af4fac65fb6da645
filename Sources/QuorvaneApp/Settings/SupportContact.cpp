#include "Settings/SupportContact.h"

#include "Shared/AppInfo.h"
#include "Shared/Log.h"

#include <QStringList>
#include <QSysInfo>
#include <QUrlQuery>

namespace quorvane {

const QString SupportContact::address = QStringLiteral(QUORVANE_SUPPORT_ADDRESS);

SupportContact::Build SupportContact::Build::current()
{
    const QString version = AppInfo::current().shortVersion;
    const QString build = QStringLiteral(QUORVANE_BUILD);
    return Build{version.isEmpty() ? QStringLiteral("dev") : version, build.isEmpty() ? QStringLiteral("–") : build};
}

std::optional<QUrl> SupportContact::mailURL(const Build &build)
{
    if (address.isEmpty())
        return std::nullopt;
    const QString body = QStringLiteral("\n\n—\nQuorvane ") + build.version + QStringLiteral(" · ")
        + QSysInfo::prettyProductName();
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Quorvane support"));
    query.addQueryItem(QStringLiteral("body"), body);
    url.setQuery(query);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

void SupportContact::compose(const std::function<void(const QUrl &)> &openUrl)
{
    if (const auto url = mailURL(); url && openUrl)
        openUrl(*url);
}

QString SupportContact::recentLog(int limit)
{
    const QString prefix = Log::subsystem() + QLatin1Char('.');
    QStringList lines;
    for (const Log::Entry &entry : Log::recentEntries()) {
        if (!entry.category.startsWith(prefix))
            continue;
        lines.append(entry.time.toUTC().toString(Qt::ISODate) + QStringLiteral(" [") + entry.category.mid(prefix.size())
                     + QStringLiteral("] ") + entry.message);
    }
    if (lines.size() > limit)
        lines = lines.mid(lines.size() - limit);
    return lines.isEmpty() ? QStringLiteral("(no entries)") : lines.join(QLatin1Char('\n'));
}

QString SupportContact::diagnostics(const Config &config, bool journalPending, const QString &storeRoot,
                                    const Build &build)
{
    const QStringList lines = {
        QStringLiteral("Quorvane ") + build.version + QStringLiteral(" (") + build.build + QStringLiteral(") · ")
            + QSysInfo::prettyProductName(),
        QStringLiteral("Store: ") + storeRoot,
        QStringLiteral("Desktops: %1 live, %2 archived (%3 unsorted) · active: “%4”")
            .arg(config.liveWorkspaces().size())
            .arg(config.archivedWorkspaces().size())
            .arg(config.unsortedWorkspaces().size())
            .arg(config.activeWorkspace),
        QStringLiteral("Journal pending: ")
            + (journalPending ? QStringLiteral("YES — interrupted swap awaiting recovery") : QStringLiteral("no")),
        QStringLiteral("Config schema: %1 (this app understands %2)").arg(config.schemaVersion).arg(Config::currentSchemaVersion),
        QString(),
        QStringLiteral("— Log, this run —"),
        recentLog(200),
    };
    return lines.join(QLatin1Char('\n'));
}

} // namespace quorvane
