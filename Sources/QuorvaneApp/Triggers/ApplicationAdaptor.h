#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusContext>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace quorvane {

class AppCommandService;

// org.freedesktop.Application on the command service's object: Activate shows the settings
// window; ActivateAction takes "switch-to" (the desktop's name as its parameter), "next",
// "previous", "hide-desktop" and "carousel". Files are not opened.
class ApplicationAdaptor final : public QDBusAbstractAdaptor, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ApplicationAdaptor(AppCommandService *service);

public slots:
    void Activate(const QVariantMap &platformData);
    void ActivateAction(const QString &name, const QVariantList &parameter, const QVariantMap &platformData);
    void Open(const QStringList &uris, const QVariantMap &platformData);

private:
    AppCommandService *m_service;
};

} // namespace quorvane
