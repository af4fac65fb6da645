#pragma once

#include "Config.h"
#include "StateStore.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

class Archiver;

// A desktop folder whose move to the Trash failed; identified by the desktop.
struct DeleteFailure {
    QString workspace;
    bool folderMissing = false; // the folder was no longer there
    QString reason;

    bool operator==(const DeleteFailure &) const = default;
};

// The model behind the settings window, the cleanup calendar and the new-desktop sheet. Its
// creator fills in every field. changed() is emitted whenever the published fields are replaced.
class SettingsModel : public QObject {
    Q_OBJECT

public:
    explicit SettingsModel(QObject *parent = nullptr);

    // Published.
    Config config = Config::defaultDocument();
    std::optional<QString> errorMessage;
    std::optional<DeleteFailure> deleteFailure;

    StateStore *store = nullptr; // not owned
    QString workspacesRoot;      // the desktops folder

    std::function<void()> onChange;
    std::function<void()> onSweepNow;
    std::function<void()> onShowFloatingDock;
    std::function<void(const QString &name)> onSwitch;
    std::function<void()> onPreviewTransition;
    std::function<void()> onUninstall;
    std::function<bool()> isBusy;

    Archiver *archiver = nullptr; // not owned

    // Publishes the document freshly loaded from the store, or the default document when
    // loading fails.
    void reload();

signals:
    void changed();
};

} // namespace quorvane
