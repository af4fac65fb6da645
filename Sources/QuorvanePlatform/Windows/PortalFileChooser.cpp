#include "Windows/PortalFileChooser.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>

#include <atomic>

namespace quorvane {

namespace {

// A name filter as the portal takes it: its name and its glob patterns (kind 0).
struct PortalFilterRule {
    uint kind = 0;
    QString pattern;
};

struct PortalFilter {
    QString name;
    QList<PortalFilterRule> rules;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilterRule &rule)
{
    argument.beginStructure();
    argument << rule.kind << rule.pattern;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilterRule &rule)
{
    argument.beginStructure();
    argument >> rule.kind >> rule.pattern;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const PortalFilter &filter)
{
    argument.beginStructure();
    argument << filter.name << filter.rules;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalFilter &filter)
{
    argument.beginStructure();
    argument >> filter.name >> filter.rules;
    argument.endStructure();
    return argument;
}

} // namespace

} // namespace quorvane

Q_DECLARE_METATYPE(quorvane::PortalFilterRule)
Q_DECLARE_METATYPE(quorvane::PortalFilter)

namespace quorvane {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

void registerTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<PortalFilterRule>();
        qDBusRegisterMetaType<QList<PortalFilterRule>>();
        qDBusRegisterMetaType<PortalFilter>();
        qDBusRegisterMetaType<QList<PortalFilter>>();
        return true;
    }();
    (void)registered;
}

// "Images (*.png *.jpg)": the name before the brackets, each pattern inside them.
PortalFilter filterOf(const QString &nameFilter)
{
    static const QRegularExpression shape(QStringLiteral("^(.*)\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = shape.match(nameFilter);
    PortalFilter filter;
    const QString patterns = match.hasMatch() ? match.captured(2) : nameFilter;
    filter.name = match.hasMatch() ? match.captured(1).trimmed() : nameFilter;
    for (const QString &pattern : patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        filter.rules.push_back({0, pattern});
    if (filter.name.isEmpty())
        filter.name = patterns;
    return filter;
}

QString windowOf(const QWidget *parent)
{
    if (!parent || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    return QStringLiteral("x11:") + QString::number(parent->window()->winId(), 16);
}

QString nextToken()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("quorvane%1").arg(++counter);
}

} // namespace

PortalFileChooser::Request PortalFileChooser::request(const ChooserOptions &options, const QString &parentWindow,
                                                      const QString &token, Kind kind)
{
    registerTypes();
    Request request{parentWindow, options.title, {}};
    request.options.insert(QStringLiteral("handle_token"), token);
    request.options.insert(QStringLiteral("modal"), true);
    request.options.insert(QStringLiteral("multiple"), false);
    if (kind == Kind::folder)
        request.options.insert(QStringLiteral("directory"), true);
    if (!options.acceptLabel.isEmpty())
        request.options.insert(QStringLiteral("accept_label"), options.acceptLabel);
    if (!options.nameFilters.isEmpty()) {
        QList<PortalFilter> filters;
        for (const QString &nameFilter : options.nameFilters)
            filters.push_back(filterOf(nameFilter));
        request.options.insert(QStringLiteral("filters"), QVariant::fromValue(filters));
        request.options.insert(QStringLiteral("current_filter"), QVariant::fromValue(filters.front()));
    }
    if (!options.directory.isEmpty())
        request.options.insert(QStringLiteral("current_folder"), QFile::encodeName(options.directory) + '\0');
    return request;
}

QString PortalFileChooser::responsePath(const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

PortalFileChooser::PortalFileChooser(const QDBusConnection &bus, std::function<void(std::optional<QString>)> chosen)
    : m_bus(bus)
    , m_chosen(std::move(chosen))
{
}

void PortalFileChooser::listen(const QString &path)
{
    if (m_paths.contains(path))
        return;
    m_paths << path;
    m_bus.connect(QString(), path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), this,
                  SLOT(answered(uint, QVariantMap)));
}

void PortalFileChooser::open(Kind kind, QWidget *parent, const ChooserOptions &options,
                             std::function<void(std::optional<QString>)> chosen, std::function<void()> unavailable,
                             const QDBusConnection &bus)
{
    if (!bus.isConnected()) {
        if (unavailable)
            unavailable();
        return;
    }
    const QString token = nextToken();
    const Request asked = request(options, windowOf(parent), token, kind);
    auto *chooser = new PortalFileChooser(bus, std::move(chosen));
    // Listened for before asking: the answer may come before the call's reply.
    chooser->listen(responsePath(bus.baseService(), token));
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath,
                                                       QStringLiteral("org.freedesktop.portal.FileChooser"),
                                                       QStringLiteral("OpenFile"));
    call << asked.parentWindow << asked.title << asked.options;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection(bus).asyncCall(call, -1), chooser);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, chooser,
                     [chooser, unavailable = std::move(unavailable)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                         if (reply.isError()) {
                             chooser->m_done = true;
                             chooser->deleteLater();
                             if (unavailable)
                                 unavailable();
                             return;
                         }
                         // An older portal answers on a path of its own choosing.
                         chooser->listen(reply.value().path());
                     });
}

void PortalFileChooser::answered(uint response, const QVariantMap &results)
{
    // 0: chosen, 1: cancelled, 2: ended otherwise.
    std::optional<QString> file;
    if (response == 0) {
        const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
        const QUrl url = uris.isEmpty() ? QUrl() : QUrl(uris.first());
        if (url.isLocalFile())
            file = url.toLocalFile();
    }
    finish(file);
}

void PortalFileChooser::finish(std::optional<QString> file)
{
    if (m_done)
        return;
    m_done = true;
    for (const QString &path : m_paths)
        m_bus.disconnect(QString(), path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                         this, SLOT(answered(uint, QVariantMap)));
    deleteLater();
    if (m_chosen)
        m_chosen(std::move(file));
}

} // namespace quorvane
