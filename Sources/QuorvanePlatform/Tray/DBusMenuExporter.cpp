#include "Tray/DBusMenuExporter.h"

#include <QAction>
#include <QActionEvent>
#include <QActionGroup>
#include <QDBusError>
#include <QDBusMetaType>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>

#include <optional>

namespace quorvane {

namespace {

const char *const idProperty = "_quorvane_dbusmenu_id";

// Qt marks a mnemonic with '&' (a literal one doubled), the bus menu with '_'.
QString busText(const QString &title)
{
    QString label;
    label.reserve(title.size());
    for (qsizetype i = 0; i < title.size(); ++i) {
        const QChar c = title[i];
        if (c == QLatin1Char('&')) {
            if (i + 1 < title.size() && title[i + 1] == QLatin1Char('&')) {
                label += QLatin1Char('&');
                ++i;
            } else {
                label += QLatin1Char('_');
            }
        } else if (c == QLatin1Char('_')) {
            label += QStringLiteral("__");
        } else {
            label += c;
        }
    }
    return label;
}

// The title, and the shortcut's text after a tab as our own menu shows it: panels given the keys
// as a "shortcut" property draw them in an order of their own ("Shift+Alt+2" for the settings'
// "Alt+Shift+2"), so the keys travel as text. The padding of the titles stays in our own menu.
QString busLabel(const QString &text)
{
    const QString title = busText(text.section(QLatin1Char('\t'), 0, 0).trimmed());
    const QString keys = text.section(QLatin1Char('\t'), 1).trimmed();
    return keys.isEmpty() ? title : title + QLatin1Char('\t') + busText(keys);
}

QVariantMap actionProperties(const QAction *action)
{
    QVariantMap map;
    if (action->isSeparator()) {
        map.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
        map.insert(QStringLiteral("label"), busLabel(action->text()));
        // Only a name the icon theme has: the application's own symbols are no theme's.
        QString iconName = action->property(DBusMenuExporter::iconNameProperty).toString();
        if (iconName.isEmpty() && QIcon::hasThemeIcon(action->icon().name()))
            iconName = action->icon().name();
        if (!iconName.isEmpty())
            map.insert(QStringLiteral("icon-name"), iconName);
        if (action->isCheckable()) {
            // Grouped items are choices of one kind, shown as radio items.
            const bool radio = action->actionGroup() != nullptr;
            map.insert(QStringLiteral("toggle-type"), radio ? QStringLiteral("radio") : QStringLiteral("checkmark"));
            map.insert(QStringLiteral("toggle-state"), action->isChecked() ? 1 : 0);
        }
        if (action->menu())
            map.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    }
    // Only what differs from the defaults travels.
    if (!action->isEnabled())
        map.insert(QStringLiteral("enabled"), false);
    if (!action->isVisible())
        map.insert(QStringLiteral("visible"), false);
    return map;
}

// The value a property has when an item does not send it (the protocol's defaults).
std::optional<QVariant> defaultProperty(const QString &name)
{
    static const QVariantMap defaults{
        {QStringLiteral("type"), QStringLiteral("standard")},
        {QStringLiteral("label"), QString()},
        {QStringLiteral("enabled"), true},
        {QStringLiteral("visible"), true},
        {QStringLiteral("icon-name"), QString()},
        {QStringLiteral("icon-data"), QByteArray()},
        {QStringLiteral("toggle-type"), QString()},
        {QStringLiteral("toggle-state"), -1},
        {QStringLiteral("children-display"), QString()},
    };
    const auto it = defaults.constFind(name);
    if (it == defaults.constEnd())
        return std::nullopt;
    return *it;
}

// The properties an item sends only while it has them.
const QStringList &optionalProperties()
{
    static const QStringList names{QStringLiteral("icon-name"), QStringLiteral("toggle-type"),
                                   QStringLiteral("toggle-state"), QStringLiteral("children-display")};
    return names;
}

QVariantMap filtered(QVariantMap map, const QStringList &names)
{
    if (names.isEmpty())
        return map;
    for (auto it = map.begin(); it != map.end();) {
        if (names.contains(it.key()))
            ++it;
        else
            it = map.erase(it);
    }
    return map;
}

} // namespace

DBusMenuExporter::DBusMenuExporter(QObject *parent)
    : QObject(parent)
{
    registerStatusNotifierTypes();
    qDBusRegisterMetaType<QList<QStringList>>();
    // A rebuild of the menu adds and removes many actions: one announcement for all of them.
    m_announce.setSingleShot(true);
    m_announce.setInterval(0);
    connect(&m_announce, &QTimer::timeout, this, &DBusMenuExporter::announce);
}

DBusMenuExporter::~DBusMenuExporter() = default;

void DBusMenuExporter::setMenu(QMenu *menu)
{
    if (m_menu)
        m_menu->removeEventFilter(this);
    m_menu = menu;
    if (menu)
        watch(menu);
    m_layoutChanged = true;
    scheduleAnnouncement();
}

QString DBusMenuExporter::textDirection() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

void DBusMenuExporter::watch(QMenu *menu)
{
    menu->installEventFilter(this); // installing twice keeps one filter
}

int DBusMenuExporter::idFor(QAction *action)
{
    const QVariant stored = action->property(idProperty);
    if (stored.isValid())
        return stored.toInt();
    const int id = ++m_nextId;
    action->setProperty(idProperty, id);
    m_actions.insert(id, action);
    connect(action, &QObject::destroyed, this, [this, id] { m_actions.remove(id); });
    return id;
}

QAction *DBusMenuExporter::actionFor(int id) const
{
    return m_actions.value(id);
}

QMenu *DBusMenuExporter::menuFor(int id) const
{
    if (id == 0)
        return m_menu;
    const QAction *action = actionFor(id);
    return action ? action->menu() : nullptr;
}

QVariantMap DBusMenuExporter::properties(int id, const QStringList &names) const
{
    if (id == 0)
        return filtered({{QStringLiteral("children-display"), QStringLiteral("submenu")}}, names);
    const QAction *action = actionFor(id);
    return action ? filtered(actionProperties(action), names) : QVariantMap();
}

DBusMenuLayoutItem DBusMenuExporter::layout(int id, int depth, const QStringList &names)
{
    DBusMenuLayoutItem item;
    item.id = id;
    item.properties = properties(id, names);
    QMenu *menu = menuFor(id);
    if (!menu || depth == 0)
        return item;
    watch(menu);
    for (QAction *action : menu->actions()) {
        const int childId = idFor(action);
        item.children.append(layout(childId, depth < 0 ? -1 : depth - 1, names));
    }
    return item;
}

void DBusMenuExporter::refuse(const QString &why) const
{
    if (calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, why);
}

uint DBusMenuExporter::GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                                 DBusMenuLayoutItem &layoutOut)
{
    if (!knows(parentId)) {
        refuse(QStringLiteral("The menu has no item %1.").arg(parentId));
        return m_revision;
    }
    layoutOut = layout(parentId, recursionDepth, propertyNames);
    return m_revision;
}

QList<DBusMenuItemProperties> DBusMenuExporter::GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames)
{
    QList<DBusMenuItemProperties> result;
    // An item the menu no longer has is answered too, with no properties (all its defaults).
    for (const int id : ids)
        result.append({id, properties(id, propertyNames)});
    return result;
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString &name)
{
    const QVariantMap set = properties(id, {name});
    if (const auto it = set.constFind(name); it != set.constEnd())
        return QDBusVariant(*it);
    // Only what differs from the defaults is kept with an item: the rest has its default.
    if (const auto standard = defaultProperty(name))
        return QDBusVariant(*standard);
    refuse(QStringLiteral("Menu items have no property \u201C%1\u201D.").arg(name));
    return QDBusVariant(QString());
}

bool DBusMenuExporter::handleEvent(int id, const QString &eventId)
{
    if (eventId == QLatin1String("clicked")) {
        QAction *action = actionFor(id);
        if (!action)
            return false;
        // The status area waits for the answer: the action runs after it has been sent.
        if (action->isEnabled() && !action->isSeparator())
            QTimer::singleShot(0, action, [action] { action->trigger(); });
        return true;
    }
    QMenu *menu = menuFor(id);
    if (!menu)
        return id == 0 || actionFor(id);
    if (eventId == QLatin1String("opened"))
        QTimer::singleShot(0, menu, [menu] { Q_EMIT menu->aboutToShow(); });
    else if (eventId == QLatin1String("closed"))
        QTimer::singleShot(0, menu, [menu] { Q_EMIT menu->aboutToHide(); });
    return true;
}

void DBusMenuExporter::Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp)
{
    Q_UNUSED(data);
    Q_UNUSED(timestamp);
    if (!handleEvent(id, eventId))
        refuse(QStringLiteral("The menu has no item %1.").arg(id));
}

QList<int> DBusMenuExporter::EventGroup(const QList<DBusMenuEvent> &events)
{
    QList<int> errors;
    for (const DBusMenuEvent &event : events) {
        if (!handleEvent(event.id, event.eventId))
            errors.append(event.id);
    }
    // Some found: their events ran and the rest are listed. None found: an error.
    if (!events.isEmpty() && errors.size() == events.size())
        refuse(QStringLiteral("The menu has none of the items the events name."));
    return errors;
}

bool DBusMenuExporter::AboutToShow(int id)
{
    if (!knows(id)) {
        refuse(QStringLiteral("The menu has no item %1.").arg(id));
        return false;
    }
    // The menu brings itself up to date now, and what changed is announced before the answer
    // tells the status area to fetch the layout again.
    if (const QPointer<QMenu> menu = menuFor(id))
        Q_EMIT menu->aboutToShow();
    const bool changed = m_layoutChanged || !m_changedItems.isEmpty();
    if (changed) {
        m_announce.stop();
        announce();
    }
    return changed;
}

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
{
    idErrors.clear();
    QList<int> updatesNeeded;
    for (const int id : ids) {
        if (!knows(id)) {
            idErrors.append(id);
            continue;
        }
        const bool changed = AboutToShow(id);
        if (changed)
            updatesNeeded.append(id);
    }
    if (!ids.isEmpty() && idErrors.size() == ids.size())
        refuse(QStringLiteral("The menu has none of the items asked for."));
    return updatesNeeded;
}

bool DBusMenuExporter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved:
        m_layoutChanged = true;
        scheduleAnnouncement();
        break;
    case QEvent::ActionChanged: {
        const QVariant id = static_cast<QActionEvent *>(event)->action()->property(idProperty);
        if (id.isValid()) {
            m_changedItems.insert(id.toInt());
            scheduleAnnouncement();
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void DBusMenuExporter::scheduleAnnouncement()
{
    if (!m_announce.isActive())
        m_announce.start();
}

void DBusMenuExporter::announce()
{
    if (m_layoutChanged) {
        m_layoutChanged = false;
        m_changedItems.clear();
        ++m_revision;
        Q_EMIT LayoutUpdated(m_revision, 0);
        return;
    }
    // Only properties changed: the items keep their ids, and a status area showing the menu
    // updates them where they are.
    QList<DBusMenuItemProperties> updated;
    QList<DBusMenuItemKeys> removed;
    for (const int id : std::exchange(m_changedItems, {})) {
        if (const QAction *action = actionFor(id)) {
            // A value back at its default is sent too, or the status area would keep the old one;
            // what the item no longer has at all is named as removed.
            QVariantMap changed = properties(id, {});
            changed.insert(QStringLiteral("enabled"), action->isEnabled());
            changed.insert(QStringLiteral("visible"), action->isVisible());
            QStringList gone;
            for (const QString &name : optionalProperties()) {
                if (!changed.contains(name))
                    gone.append(name);
            }
            updated.append({id, changed});
            if (!gone.isEmpty())
                removed.append({id, gone});
        }
    }
    if (!updated.isEmpty())
        Q_EMIT ItemsPropertiesUpdated(updated, removed);
}

} // namespace quorvane
