#pragma once

#include "FloatingDockTypes.h"
#include "SettingsViews/SettingsContext.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;

namespace quorvane {

class KeyRecorderView;
class SegmentedControl;

// The Floating dock section: how the dock is summoned, how it looks and how it is placed.
class FloatingDockTab : public QWidget {
    Q_OBJECT

public:
    explicit FloatingDockTab(const SettingsContext &context, QWidget *parent = nullptr);

    // "Top-left", or "Top-left — used by Overview" when the system uses the corner.
    QString cornerLabel(FloatingDockCorner corner) const;
    QComboBox *cornerPicker() const { return m_corner; }
    // None while the stored corner is free.
    QWidget *cornerWarning() const;
    SegmentedControl *transitionPicker() const { return m_transition; }

private:
    void refresh();
    std::optional<QString> occupant(FloatingDockCorner corner) const;

    const SettingsContext &m_context;
    KeyRecorderView *m_shortcut;
    QComboBox *m_corner;
    QWidget *m_warning;
    QLabel *m_warningText;
    QCheckBox *m_inMenu;
    SegmentedControl *m_axis;
    SegmentedControl *m_size;
    SegmentedControl *m_material;
    SegmentedControl *m_appearance;
    QCheckBox *m_colorFolders;
    QCheckBox *m_remember;
    QCheckBox *m_flip;
    SegmentedControl *m_transition;
};

} // namespace quorvane
