#pragma once

#include "Dock/DockSurface.h"
#include "Dock/SystemDockMetrics.h"
#include "FloatingDockTypes.h"
#include "Session/PreferenceReader.h"

#include <QMap>
#include <QObject>
#include <QRectF>

#include <optional>
#include <vector>

namespace quorvane {

// What the dock's view draws. Every field but the tile frames is published: a change emits
// changed(). Tile frames are in the view's own coordinates (origin at its top-left).
class FloatingDockModel : public QObject {
    Q_OBJECT

public:
    explicit FloatingDockModel(const PreferenceReader &preferences, QObject *parent = nullptr);

    const std::vector<DockSurface> &surfaces() const { return m_surfaces; }
    DockHalf half() const { return m_half; }
    const QString &accentHex() const { return m_accentHex; }
    FloatingDockSize size() const { return m_size; }
    const DockMetrics &metrics() const { return m_metrics; }
    bool colorFolders() const { return m_colorFolders; }
    FloatingDockMaterial material() const { return m_material; }
    FloatingDockAxis axis() const { return m_axis; }
    bool showFlipButtons() const { return m_showFlipButtons; }
    const std::optional<QString> &targetedName() const { return m_targetedName; }

    void setSurfaces(const std::vector<DockSurface> &value) { set(m_surfaces, value); }
    void setHalf(DockHalf value) { set(m_half, value); }
    void setAccentHex(const QString &value) { set(m_accentHex, value); }
    void setSize(FloatingDockSize value) { set(m_size, value); }
    void setMetrics(const DockMetrics &value) { set(m_metrics, value); }
    void setColorFolders(bool value) { set(m_colorFolders, value); }
    void setMaterial(FloatingDockMaterial value) { set(m_material, value); }
    void setAxis(FloatingDockAxis value) { set(m_axis, value); }
    void setShowFlipButtons(bool value) { set(m_showFlipButtons, value); }
    void setTargetedName(const std::optional<QString> &value) { set(m_targetedName, value); }

    // Not published: written by the view as it lays the tiles out.
    const QMap<QString, QRectF> &tileFrames() const { return m_tileFrames; }
    void setTileFrame(const QString &name, const QRectF &frame) { m_tileFrames.insert(name, frame); }
    void clearTileFrames() { m_tileFrames.clear(); }

    // The metrics of the size setting (the session dock's tile size for system) and the axis.
    DockMetrics freshMetrics() const;
    // The first active surface's name.
    std::optional<QString> activeName() const;

signals:
    void changed();

private:
    template <typename T>
    void set(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        emit changed();
    }

    const PreferenceReader &m_preferences;
    std::vector<DockSurface> m_surfaces;
    DockHalf m_half = DockHalf::lower;
    QString m_accentHex;
    FloatingDockSize m_size = FloatingDockSize::system;
    DockMetrics m_metrics;
    bool m_colorFolders = false;
    FloatingDockMaterial m_material = FloatingDockMaterial::solid;
    FloatingDockAxis m_axis = FloatingDockAxis::horizontal;
    bool m_showFlipButtons = true;
    std::optional<QString> m_targetedName;
    QMap<QString, QRectF> m_tileFrames;
};

} // namespace quorvane
