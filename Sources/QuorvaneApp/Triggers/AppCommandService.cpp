#include "Triggers/AppCommandService.h"
#include "Shared/Log.h"
#include "Triggers/ApplicationAdaptor.h"

#include <QDBusConnectionInterface>
#include <QMetaObject>
#include <QPointer>

namespace quorvane {

namespace {

QString quoted(const QString &name)
{
    return QStringLiteral("\u201C%1\u201D").arg(name);
}

// The stored name of the live desktop the user typed: names compare as canonically equivalent
// Unicode strings.
std::optional<QString> liveNamed(const QStringList &live, const QString &typed)
{
    const QString wanted = typed.normalized(QString::NormalizationForm_C);
    for (const QString &name : live) {
        if (name.normalized(QString::NormalizationForm_C) == wanted)
            return name;
    }
    return std::nullopt;
}

} // namespace

AppCommandService::AppCommandService(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    new ApplicationAdaptor(this);
}

AppCommandService::~AppCommandService()
{
    if (!m_published)
        return;
    m_bus.unregisterService(QString::fromLatin1(busName));
    m_bus.unregisterObject(QString::fromLatin1(objectPath));
}

bool AppCommandService::publish()
{
    if (m_published)
        return true;
    if (!m_bus.isConnected()) {
        qCWarning(Log::app()) << "no session bus: the command line cannot reach this instance";
        return false;
    }
    if (!m_bus.registerObject(QString::fromLatin1(objectPath), this,
                              QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAdaptors)) {
        qCWarning(Log::app()) << "the command line's object could not be exported:" << m_bus.lastError().message();
        return false;
    }
    // Never queued behind another owner: a second holder of the name would take requests meant
    // for the instance that works on the desktops.
    const auto reply = m_bus.interface()->registerService(QString::fromLatin1(busName), QDBusConnectionInterface::DontQueueService,
                                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        qCWarning(Log::app()) << "the bus name" << busName << "is held by another process: the command line cannot reach this instance";
        m_bus.unregisterObject(QString::fromLatin1(objectPath));
        return false;
    }
    m_published = true;
    qCInfo(Log::app()) << "the command line reaches this instance on the session bus as" << busName;
    return true;
}

AppCommandService::Answer AppCommandService::request(const AppCommand &command)
{
    AppCommand accepted = command;
    QString message;
    if (command.kind == AppCommand::Kind::showSettings) {
        message = tr("showing the settings window");
    } else {
        const AppCommandState state = m_state ? m_state() : AppCommandState{{}, {}, false, false, tr("Quorvane is still starting")};
        if (command.kind == AppCommand::Kind::switchTo) {
            const auto name = liveNamed(state.liveDesktops, command.desktop);
            if (!name) {
                const QString known = state.liveDesktops.isEmpty() ? tr("there are none")
                                                                   : tr("the desktops are %1").arg(state.liveDesktops.join(QStringLiteral(", ")));
                return {tr("there is no desktop named %1 (%2)").arg(quoted(command.desktop), known),
                        QString::fromLatin1(unknownDesktopError)};
            }
            accepted.desktop = *name;
            // While a switch is under way the request is resolved once it has ended, against
            // the desktop it leaves active.
            if (*name == state.activeDesktop && !state.busy)
                return {tr("%1 is already the active desktop").arg(quoted(*name))};
        }
        if (!state.refusal.isEmpty())
            return {tr("nothing can be switched: %1").arg(state.refusal), QString::fromLatin1(refusedError)};
        switch (command.kind) {
        case AppCommand::Kind::switchTo:
            message = tr("switching to %1").arg(quoted(accepted.desktop));
            break;
        case AppCommand::Kind::next:
            message = tr("switching to the next desktop");
            break;
        case AppCommand::Kind::previous:
            message = tr("switching to the previous desktop");
            break;
        case AppCommand::Kind::hideDesktop:
            message = state.blankActive ? tr("showing the desktop again") : tr("hiding the desktop");
            break;
        case AppCommand::Kind::carousel:
            message = tr("switching to the carousel's next desktop");
            break;
        case AppCommand::Kind::showSettings:
            break;
        }
        // Accepted all the same: it waits its turn, as a hot key pressed now would.
        if (state.busy)
            message = tr("%1 once the switch under way has ended").arg(message);
    }
    // Answered first: a switch (and any alert it shows) never keeps the caller waiting.
    QPointer<AppCommandService> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, accepted] {
            if (self)
                emit self->requested(accepted);
        },
        Qt::QueuedConnection);
    return {message};
}

QString AppCommandService::answerCall(const AppCommand &command)
{
    // A call that waited in the queue after its caller gave up (the instance was stopped or
    // held): the command line has told the user that nothing was asked, so nothing is done.
    if (calledFromDBus()) {
        const QString caller = message().service();
        if (!caller.isEmpty() && connection().interface() && !connection().interface()->isServiceRegistered(caller).value()) {
            qCInfo(Log::app()).noquote() << QStringLiteral("a command-line request arrived after its caller stopped waiting: dropped");
            return {};
        }
    }
    const Answer answer = request(command);
    if (!answer.error.isEmpty() && calledFromDBus())
        sendErrorReply(answer.error, answer.message);
    return answer.message;
}

QString AppCommandService::SwitchTo(const QString &name)
{
    return answerCall(AppCommand{AppCommand::Kind::switchTo, name});
}

QString AppCommandService::Next()
{
    return answerCall(AppCommand{AppCommand::Kind::next});
}

QString AppCommandService::Previous()
{
    return answerCall(AppCommand{AppCommand::Kind::previous});
}

QString AppCommandService::HideDesktop()
{
    return answerCall(AppCommand{AppCommand::Kind::hideDesktop});
}

QString AppCommandService::Carousel()
{
    return answerCall(AppCommand{AppCommand::Kind::carousel});
}

QString AppCommandService::ShowSettings()
{
    return answerCall(AppCommand{AppCommand::Kind::showSettings});
}

} // namespace quorvane
