#include "Keys/CustomShortcutList.h"

#include "Keys/GtkAccelerator.h"
#include "Session/GSettingsTool.h"
#include "Work/HostWork.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>

namespace quorvane {

namespace {

Q_LOGGING_CATEGORY(shortcutLog, "quorvane.hotkeys", QtInfoMsg)

const QString nameKey = QStringLiteral("name");
const QString bindingKey = QStringLiteral("binding");

} // namespace

// What the host work's thread holds: only its jobs touch it, one after another.
struct CustomShortcutList::State {
    Dialect dialect;
    std::unique_ptr<GSettingsAccess> settings;
    SettingsLedger ledger;
    QString executable;
    std::map<Id, QString> entries; // each id's item of the list

    QString pathOf(const QString &item) const
    {
        return dialect.listHoldsPaths ? item : dialect.basePath + item + QLatin1Char('/');
    }

    std::optional<QStringList> list(QString &error)
    {
        if (dialect.listKey.isEmpty()) {
            auto folders = settings->folders(dialect.basePath);
            if (!folders)
                error = QStringLiteral("the settings store can't list %1").arg(dialect.basePath);
            return folders;
        }
        const auto value = settings->get(dialect.listSchema, {}, dialect.listKey, error);
        if (!value)
            return std::nullopt;
        auto items = gsettings::strings(*value);
        if (!items)
            error = QStringLiteral("the list %1 reads %2").arg(dialect.listKey, *value);
        return items;
    }

    QString text(const QString &item, const QString &key)
    {
        QString error;
        const auto value = settings->get(dialect.entrySchema, pathOf(item), key, error);
        const auto texts = value ? gsettings::strings(*value) : std::nullopt;
        return texts && !texts->isEmpty() ? texts->first() : QString();
    }

    bool holdsKeys(const QString &item)
    {
        return !text(item, nameKey).isEmpty() || !text(item, dialect.commandKey).isEmpty()
            || !text(item, bindingKey).isEmpty();
    }

    // Every accelerator the desktop binds already, but for our own entries.
    QSet<QString> used(const QStringList &items)
    {
        QSet<QString> used;
        const auto add = [&used](const QString &printed) {
            for (const QString &accelerator : gsettings::strings(printed).value_or(QStringList())) {
                if (const QString one = gtkaccel::normalized(accelerator); !one.isEmpty())
                    used.insert(one);
            }
        };
        for (const QString &item : items) {
            if (std::any_of(entries.begin(), entries.end(), [&](const auto &entry) { return entry.second == item; }))
                continue;
            QString error;
            if (const auto binding = settings->get(dialect.entrySchema, pathOf(item), bindingKey, error))
                add(*binding);
        }
        for (const QString &schema : dialect.usedSchemas) {
            const auto values = settings->values(schema);
            for (const QString &value : values.value_or(QMap<QString, QString>()))
                add(value);
        }
        return used;
    }

    // None on success, else why the entry was refused.
    std::optional<QString> add(Id id, const QString &accelerator, const Command &command)
    {
        QString error;
        const auto items = list(error);
        if (!items)
            return QStringLiteral("the desktop's list of shortcuts can't be read: ") + error;
        if (used(*items).contains(gtkaccel::normalized(accelerator)))
            return QStringLiteral("the desktop binds %1 already").arg(accelerator);
        QString item;
        for (int n = 0; item.isEmpty(); ++n) {
            const QString name = dialect.itemPrefix + QString::number(n);
            const QString candidate = dialect.listHoldsPaths ? dialect.basePath + name + QLatin1Char('/') : name;
            // A place that holds anything (an entry the user parked outside the list, another
            // tool's) is not ours to write.
            if (!items->contains(candidate) && !holdsKeys(candidate))
                item = candidate;
        }
        if (const auto kept = ledger.keep({dialect.facility(), item, QVariant(), command.title}))
            return QStringLiteral("the ledger can't keep the entry: ") + *kept;
        const QString path = pathOf(item);
        const QString binding = dialect.bindingIsList ? gsettings::quotedList({accelerator}) : gsettings::quoted(accelerator);
        std::optional<QString> failed = settings->set(dialect.entrySchema, path, nameKey, gsettings::quoted(command.title));
        if (!failed)
            failed = settings->set(dialect.entrySchema, path, dialect.commandKey,
                                   gsettings::quoted(commandLine(QStringList{executable} + command.arguments)));
        if (!failed)
            failed = settings->set(dialect.entrySchema, path, bindingKey, binding);
        if (!failed && !dialect.listKey.isEmpty())
            failed = settings->set(dialect.listSchema, {}, dialect.listKey, gsettings::quotedList(*items + QStringList{item}));
        if (failed) {
            clear(item);
            ledger.forget(dialect.facility(), item);
            return QStringLiteral("the entry can't be written: ") + *failed;
        }
        entries[id] = item;
        return std::nullopt;
    }

    void clear(const QString &item)
    {
        for (const QString &key : {bindingKey, nameKey, dialect.commandKey})
            settings->reset(dialect.entrySchema, pathOf(item), key);
    }

    // Takes the item out of the list and its entry's keys back to their defaults.
    void remove(const QString &item)
    {
        if (dialect.listKey.isEmpty()) { // the folder goes with its last key
            clear(item);
            forget(item);
            return;
        }
        QString error;
        if (auto items = list(error); items && items->removeAll(item) > 0) {
            if (const auto failed = settings->set(dialect.listSchema, {}, dialect.listKey, gsettings::quotedList(*items)))
                qCWarning(shortcutLog).noquote() << "a shortcut entry stays in the desktop's list:" << *failed;
        } else if (!items) {
            qCWarning(shortcutLog).noquote() << "the desktop's list of shortcuts can't be read:" << error;
        }
        clear(item);
        forget(item);
    }

    void forget(const QString &item)
    {
        if (const auto failed = ledger.forget(dialect.facility(), item))
            qCWarning(shortcutLog).noquote() << "the ledger can't forget a shortcut entry:" << *failed;
    }
};

CustomShortcutList::Dialect CustomShortcutList::Dialect::gnome()
{
    const QString keys = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
    return {QStringLiteral("gnome"),
            keys,
            QStringLiteral("custom-keybindings"),
            keys + QStringLiteral(".custom-keybinding"),
            QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/"),
            true,
            false,
            {keys, QStringLiteral("org.gnome.desktop.wm.keybindings"), QStringLiteral("org.gnome.shell.keybindings"),
             QStringLiteral("org.gnome.mutter.keybindings"), QStringLiteral("org.gnome.mutter.wayland.keybindings")}};
}

CustomShortcutList::Dialect CustomShortcutList::Dialect::cinnamon()
{
    const QString keys = QStringLiteral("org.cinnamon.desktop.keybindings");
    return {QStringLiteral("cinnamon"),
            keys,
            QStringLiteral("custom-list"),
            keys + QStringLiteral(".custom-keybinding"),
            QStringLiteral("/org/cinnamon/desktop/keybindings/custom-keybindings/"),
            false,
            true,
            {keys, keys + QStringLiteral(".wm"), keys + QStringLiteral(".media-keys")}};
}

// MATE keeps no list: mate-settings-daemon binds every folder under its keybindings path, each
// named "customN" as MATE's own Keyboard Shortcuts names them, and its command key is "action".
// It is asked only where the application has no key grab that serves everywhere (a Wayland
// session, as for GNOME and Cinnamon): on MATE's X11 session the daemon grabs its entries on the
// same X server as our own grabs would, so an entry adds nothing there but a process started per
// press, and grabs also serve the hot keys that have no command line.
CustomShortcutList::Dialect CustomShortcutList::Dialect::mate()
{
    Dialect dialect{QStringLiteral("mate"),
                    {},
                    {},
                    QStringLiteral("org.mate.control-center.keybinding"),
                    QStringLiteral("/org/mate/desktop/keybindings/"),
                    false,
                    false,
                    {QStringLiteral("org.mate.Marco.global-keybindings"), QStringLiteral("org.mate.Marco.window-keybindings"),
                     QStringLiteral("org.mate.SettingsDaemon.plugins.media-keys")}};
    dialect.commandKey = QStringLiteral("action");
    dialect.itemPrefix = QStringLiteral("custom");
    return dialect;
}

std::optional<CustomShortcutList::Dialect> CustomShortcutList::forDesktop(const QString &currentDesktop)
{
    for (const QString &name : currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        std::optional<Dialect> dialect;
        if (name.compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0)
            dialect = Dialect::gnome();
        else if (name.compare(QLatin1String("X-Cinnamon"), Qt::CaseInsensitive) == 0
                 || name.compare(QLatin1String("Cinnamon"), Qt::CaseInsensitive) == 0)
            dialect = Dialect::cinnamon();
        else if (name.compare(QLatin1String("MATE"), Qt::CaseInsensitive) == 0)
            dialect = Dialect::mate();
        if (dialect)
            return GSettingsToolAccess::schemaInstalled(dialect->entrySchema) ? dialect : std::nullopt;
    }
    return std::nullopt;
}

CustomShortcutList::CustomShortcutList(Dialect dialect, std::unique_ptr<GSettingsAccess> settings, SettingsLedger ledger,
                                       QString executable, QObject *parent)
    : HotKeyRegistrar(parent)
    , m_state(std::make_shared<State>(State{std::move(dialect), std::move(settings), std::move(ledger), std::move(executable), {}}))
{
}

CustomShortcutList::~CustomShortcutList()
{
    while (!m_held.empty())
        unregisterHotKey(m_held.begin()->first);
    if (!HostWork::drain(5000))
        qCWarning(shortcutLog, "the desktop's list of shortcuts did not answer in time: the next start cleans it");
}

QString CustomShortcutList::commandLine(const QStringList &arguments)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    QStringList words;
    for (const QString &argument : arguments) {
        if (plain.match(argument).hasMatch()) {
            words << argument;
        } else {
            QString quoted = argument;
            quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
            words << QLatin1Char('\'') + quoted + QLatin1Char('\'');
        }
    }
    return words.join(QLatin1Char(' '));
}

bool CustomShortcutList::registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &command)
{
    const auto accelerator = gtkaccel::accelerator(combination);
    if (!accelerator || !command || m_held.count(id))
        return false;
    const QString normalized = gtkaccel::normalized(*accelerator);
    for (const auto &[heldId, held] : m_held) {
        if (held == normalized)
            return false;
    }
    m_held.emplace(id, normalized);
    auto refusal = std::make_shared<std::optional<QString>>();
    QPointer<CustomShortcutList> self(this);
    HostWork::post([state = m_state, id, accelerator = *accelerator, command = *command,
                    refusal] { *refusal = state->add(id, accelerator, command); },
                   [self, id, refusal] {
                       if (!*refusal)
                           return;
                       qCWarning(shortcutLog).noquote() << "a shortcut entry was refused:" << **refusal;
                       if (!self || !self->m_held.erase(id))
                           return;
                       emit self->refused(id);
                   });
    return true;
}

void CustomShortcutList::unregisterHotKey(Id id)
{
    if (!m_held.erase(id))
        return;
    HostWork::post([state = m_state, id] {
        const auto found = state->entries.find(id);
        if (found == state->entries.end())
            return; // refused: nothing was written
        const QString item = found->second;
        state->entries.erase(found);
        state->remove(item);
    });
}

void CustomShortcutList::releaseLeftovers()
{
    HostWork::post([state = m_state] {
        const auto kept = state->ledger.entries(state->dialect.facility());
        if (!kept) {
            qCWarning(shortcutLog, "the ledger can't be read: shortcut entries of an earlier start stay");
            return;
        }
        for (const SettingsLedger::Entry &entry : *kept) {
            const QString name = state->text(entry.setting, nameKey);
            // Renamed by the user: theirs now, and only the ledger lets go of it.
            if (!name.isEmpty() && name != entry.written.toString()) {
                state->ledger.forget(entry.facility, entry.setting);
                continue;
            }
            state->remove(entry.setting);
        }
    });
}

} // namespace quorvane
