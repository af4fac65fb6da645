#pragma once

#include "Windows/Dialogs.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <functional>
#include <optional>

class QWidget;

namespace quorvane {

// One existing file, or one folder, chosen in the desktop portal's file chooser
// (org.freedesktop.portal.FileChooser.OpenFile, with "directory" for a folder): the chooser's
// title, its accept button's text, the name filters and the folder it opens in
// ("current_folder", which portals from 1.17 on take for an open request). It asks for no
// choices of its own, so the chooser offers the files alone: nothing is opened read-only. The
// portal asks the user in its own process, so nothing here waits.
class PortalFileChooser final : public QObject {
    Q_OBJECT

public:
    // What is chosen: an existing file, or a folder.
    enum class Kind {
        file,
        folder
    };
    // The request as sent: the parent window ("x11:" and its id in hex, or empty), the title and
    // the options.
    struct Request {
        QString parentWindow;
        QString title;
        QVariantMap options;
    };
    static Request request(const ChooserOptions &options, const QString &parentWindow, const QString &token,
                           Kind kind = Kind::file);
    // The path of the portal's answer to a request with this token from this connection.
    static QString responsePath(const QString &uniqueName, const QString &token);

    // Asks the portal. chosen runs once: the file (or folder), or none when the user cancelled or
    // the portal failed after asking; unavailable runs instead when no portal takes the request.
    static void open(Kind kind, QWidget *parent, const ChooserOptions &options,
                     std::function<void(std::optional<QString>)> chosen, std::function<void()> unavailable,
                     const QDBusConnection &bus = QDBusConnection::sessionBus());

private slots:
    void answered(uint response, const QVariantMap &results);

private:
    PortalFileChooser(const QDBusConnection &bus, std::function<void(std::optional<QString>)> chosen);
    void listen(const QString &path);
    void finish(std::optional<QString> file);

    QDBusConnection m_bus;
    std::function<void(std::optional<QString>)> m_chosen;
    QStringList m_paths;
    bool m_done = false;
};

} // namespace quorvane
