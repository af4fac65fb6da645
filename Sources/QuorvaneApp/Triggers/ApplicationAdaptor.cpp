#include "Triggers/ApplicationAdaptor.h"
#include "Triggers/AppCommandService.h"

#include <QDBusError>

namespace quorvane {

ApplicationAdaptor::ApplicationAdaptor(AppCommandService *service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{
}

void ApplicationAdaptor::Activate(const QVariantMap &)
{
    m_service->request(AppCommand{AppCommand::Kind::showSettings});
}

void ApplicationAdaptor::ActivateAction(const QString &name, const QVariantList &parameter, const QVariantMap &)
{
    std::optional<AppCommand> command;
    if (name == QLatin1String("switch-to")) {
        if (parameter.size() == 1 && parameter.front().typeId() == QMetaType::QString)
            command = AppCommand{AppCommand::Kind::switchTo, parameter.front().toString()};
    } else if (name == QLatin1String("next")) {
        command = AppCommand{AppCommand::Kind::next};
    } else if (name == QLatin1String("previous")) {
        command = AppCommand{AppCommand::Kind::previous};
    } else if (name == QLatin1String("hide-desktop")) {
        command = AppCommand{AppCommand::Kind::hideDesktop};
    } else if (name == QLatin1String("carousel")) {
        command = AppCommand{AppCommand::Kind::carousel};
    }
    if (!command) {
        if (calledFromDBus())
            sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no action %1 with these parameters").arg(name));
        return;
    }
    const AppCommandService::Answer answer = m_service->request(*command);
    if (!answer.error.isEmpty() && calledFromDBus())
        sendErrorReply(answer.error, answer.message);
}

void ApplicationAdaptor::Open(const QStringList &, const QVariantMap &)
{
    if (calledFromDBus())
        sendErrorReply(QDBusError::NotSupported, QStringLiteral("Quorvane opens no files"));
}

} // namespace quorvane
