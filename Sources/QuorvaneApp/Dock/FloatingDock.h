#pragma once

#include "AppearanceMode.h"
#include "FloatingDockTypes.h"
#include "SpaceIdentifier.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

// One tile of the floating dock; identified by name.
struct DockSurface {
    QString name;
    QString colorHex;
    QString folderPath;
    bool isActive = false;

    bool operator==(const DockSurface &) const = default;
};

// What the dock's panel shows.
struct FloatingDockModel {
    std::vector<DockSurface> surfaces;
    QString accentHex;
    bool colorFolders = false;
    FloatingDockMaterial material = FloatingDockMaterial::solid;
    FloatingDockSize size = FloatingDockSize::system;
    bool showFlipButtons = true;
    FloatingDockAxis axis = FloatingDockAxis::horizontal;
    std::vector<QRectF> tileFrames;
};

// The floating panel with one tile per live desktop. Main thread only.
class FloatingDock {
public:
    explicit FloatingDock(const SpaceIdentifier &spaces = SpaceIdentifier::shared());

    std::function<void(const QString &name)> onSwitch;
    std::function<void(const QList<QUrl> &files, const QString &name)> onDrop;
    std::function<void(const FloatingDockPosition &position)> onMove;

    bool wantsVisible = false;
    std::unique_ptr<QWidget> panel; // absent until first shown
    double flipDuration = 0.45;
    AppearanceMode pendingAppearance = AppearanceMode::system;
    FloatingDockModel model;

    // A new axis empties the tile frames and re-places the panel at the next reload.
    void setAxis(FloatingDockAxis axis);
    bool isParkedElsewhere() const;
    void cancelRechecks();
    void activeSpaceChanged();
    void show(const std::vector<DockSurface> &surfaces, const QString &accentHex,
              const std::optional<FloatingDockPosition> &savedPosition);
    void reload(const std::vector<DockSurface> &surfaces, const QString &accentHex);

    bool needsReplacement() const { return m_needsReplacement; }

private:
    const SpaceIdentifier &m_spaces;
    std::optional<QString> m_homeSpace;
    bool m_needsReplacement = false;
};

} // namespace quorvane
