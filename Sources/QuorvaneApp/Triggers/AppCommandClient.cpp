#include "Triggers/AppCommandClient.h"
#include "Triggers/AppCommandService.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

namespace quorvane {

namespace {

QString methodFor(AppCommand::Kind kind)
{
    switch (kind) {
    case AppCommand::Kind::switchTo:
        return QStringLiteral("SwitchTo");
    case AppCommand::Kind::next:
        return QStringLiteral("Next");
    case AppCommand::Kind::previous:
        return QStringLiteral("Previous");
    case AppCommand::Kind::hideDesktop:
        return QStringLiteral("HideDesktop");
    case AppCommand::Kind::carousel:
        return QStringLiteral("Carousel");
    case AppCommand::Kind::showSettings:
        break;
    }
    return QStringLiteral("ShowSettings");
}

QString notRunningText()
{
    return QCoreApplication::translate("AppCommandClient", "Quorvane is not running (this command does not start it)");
}

} // namespace

AppCommandClient::AppCommandClient(QDBusConnection bus, int timeoutMs)
    : m_bus(std::move(bus))
    , m_timeoutMs(timeoutMs)
{
}

AppCommandClient::Outcome AppCommandClient::send(const AppCommand &command) const
{
    if (!m_bus.isConnected())
        return {appexit::notRunning, QCoreApplication::translate("AppCommandClient", "no session bus, so no running Quorvane can be reached")};
    const QString service = QString::fromLatin1(AppCommandService::busName);
    QDBusMessage call = QDBusMessage::createMethodCall(service, QString::fromLatin1(AppCommandService::objectPath),
                                                       QString::fromLatin1(AppCommandService::interfaceName), methodFor(command.kind));
    if (command.kind == AppCommand::Kind::switchTo)
        call << command.desktop;
    // A service file naming the bus name must not start an instance for the call.
    call.setAutoStartService(false);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, m_timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        const QVariant first = reply.arguments().value(0);
        return {appexit::done, first.toString()};
    }
    const QString error = reply.errorName();
    if (error == QDBusError::errorString(QDBusError::ServiceUnknown) || error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return {appexit::notRunning, notRunningText()};
    if (error.startsWith(service + QStringLiteral(".Error.")))
        return {appexit::refused, reply.errorMessage()};
    // The instance drops a request whose caller has stopped waiting (see AppCommandService), so
    // a retry after this never switches twice.
    if (error == QDBusError::errorString(QDBusError::NoReply) || error == QDBusError::errorString(QDBusError::Timeout))
        return {appexit::refused, QCoreApplication::translate("AppCommandClient", "Quorvane did not answer within %1 seconds (it may be stopped or busy); "
                                                                                  "nothing was asked of it, so trying again is safe")
                                      .arg(m_timeoutMs / 1000)};
    return {appexit::refused, QCoreApplication::translate("AppCommandClient", "Quorvane did not answer: %1").arg(reply.errorMessage())};
}

} // namespace quorvane
