#pragma once

#include "Tray/StatusNotifierTypes.h"

#include <QDBusContext>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <QAction>
#include <QMenu>

namespace quorvane {

// A QMenu published on the bus as a com.canonical.dbusmenu menu, for status areas that draw the
// status item's menu themselves. The menu's changes are announced as they happen; a click in
// the status area's copy triggers the QAction once the call has been answered. Every call is
// answered: the properties of an item the menu no longer has (a status area asking about the
// menu it drew before a rebuild) are the defaults, an item without any; a property no item has
// and the layout or the events of an item that isn't there get a D-Bus error
// (org.freedesktop.DBus.Error.InvalidArgs) saying so. AboutToShow lets the menu bring itself
// up to date (its aboutToShow signal, synchronously) and says whether the layout changed.
// An action's freedesktop icon name travels in one of its properties; its shortcut, as the text
// after a tab in its title, travels in the label.
class DBusMenuExporter final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version CONSTANT)
    Q_PROPERTY(QString TextDirection READ textDirection CONSTANT)
    Q_PROPERTY(QString Status READ status CONSTANT)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath CONSTANT)

public:
    // A QString: the icon's freedesktop name ("application-exit").
    static constexpr const char *iconNameProperty = "dbusmenuIconName";

    explicit DBusMenuExporter(QObject *parent = nullptr);
    ~DBusMenuExporter() override;

    void setMenu(QMenu *menu);
    QMenu *menu() const { return m_menu; }

    uint version() const { return 3; }
    QString textDirection() const;
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public Q_SLOTS:
    Q_SCRIPTABLE uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                                quorvane::DBusMenuLayoutItem &layout);
    Q_SCRIPTABLE QList<quorvane::DBusMenuItemProperties> GetGroupProperties(const QList<int> &ids,
                                                                            const QStringList &propertyNames);
    Q_SCRIPTABLE QDBusVariant GetProperty(int id, const QString &name);
    Q_SCRIPTABLE void Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp);
    Q_SCRIPTABLE QList<int> EventGroup(const QList<quorvane::DBusMenuEvent> &events);
    Q_SCRIPTABLE bool AboutToShow(int id);
    Q_SCRIPTABLE QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors);

Q_SIGNALS:
    Q_SCRIPTABLE void ItemsPropertiesUpdated(const QList<quorvane::DBusMenuItemProperties> &updatedProps,
                                             const QList<quorvane::DBusMenuItemKeys> &removedProps);
    Q_SCRIPTABLE void LayoutUpdated(uint revision, int parent);
    Q_SCRIPTABLE void ItemActivationRequested(int id, uint timestamp);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int idFor(QAction *action);
    QAction *actionFor(int id) const;
    // The menu an entry opens: the root menu for 0, an action's submenu otherwise.
    QMenu *menuFor(int id) const;
    QVariantMap properties(int id, const QStringList &names) const;
    DBusMenuLayoutItem layout(int id, int depth, const QStringList &names);
    void watch(QMenu *menu);
    bool handleEvent(int id, const QString &eventId);
    bool knows(int id) const { return id == 0 || actionFor(id); }
    // Answers the call in progress, if it came over the bus, with an InvalidArgs error.
    void refuse(const QString &why) const;
    void scheduleAnnouncement();
    void announce();

    QPointer<QMenu> m_menu;
    QHash<int, QPointer<QAction>> m_actions;
    int m_nextId = 0;
    uint m_revision = 1;
    bool m_layoutChanged = false;
    QSet<int> m_changedItems;
    QTimer m_announce;
};

} // namespace quorvane
