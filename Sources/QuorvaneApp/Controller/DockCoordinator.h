#pragma once

#include "Config.h"
#include "FloatingDockTypes.h"

#include <QList>
#include <QObject>
#include <QUrl>

namespace quorvane {

class AppController;
class DocumentService;

// The floating dock and the corner that summons it: the dock follows the document (its tiles
// and its settings) whenever the document service announces a change; its tiles switch, a drop
// on a tile moves Desktop items into that desktop, and a moved dock remembers its place.
class DockCoordinator : public QObject {
    Q_OBJECT

public:
    DockCoordinator(AppController &app, DocumentService &store);

    // Connects the dock's and the corner's reports to what they ask for.
    void connectComponents();
    // Shows the dock here, or hides it.
    void toggle();
    // The dock's corner: toggles the dock unless a switch is running or pending.
    void cornerTriggered();
    // Moves Desktop items dropped on a tile into that desktop's folder, without switching; a
    // drop made during a switch waits at the request gate for it to end.
    void handleDrop(const QList<QUrl> &urls, const QString &name);
    // The dock's tiles and settings from the stored document.
    void reload();

private:
    // The dock's settings, pushed into the dock (applied to the panel when it is next built).
    void applySettings(const Config &config);
    void show(const Config &config);
    // Shown, and not parked on another workspace.
    bool shownHere() const;
    void tileClicked(const QString &name);
    void dropNow(const QList<QUrl> &urls, const QString &name);
    void moved(const FloatingDockPosition &position);

    AppController &m_app;
    DocumentService &m_store;
};

} // namespace quorvane
