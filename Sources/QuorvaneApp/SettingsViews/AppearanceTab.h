#pragma once

#include "SettingsViews/SettingsContext.h"
#include "SwitchEffectTypes.h"

#include <QColor>
#include <QWidget>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace quorvane {

class ColorSwatch;
class SegmentedControl;

// The Appearance section: the light or dark look, the accent colour, the switch animation
// with its preview, and the status glyph's animation.
class AppearanceTab : public QWidget {
    Q_OBJECT

public:
    explicit AppearanceTab(const SettingsContext &context, QWidget *parent = nullptr);

    ColorSwatch *systemSwatch() const { return m_system; }
    const std::vector<ColorSwatch *> &presetSwatches() const { return m_presets; }
    ColorSwatch *customSwatch() const { return m_custom; }
    QColor customAccent() const { return m_customAccent; }
    QComboBox *lookPicker() const { return m_look; }
    QLabel *lookDescription() const { return m_description; }
    QPushButton *previewButton() const { return m_preview; }
    SegmentedControl *speedPicker() const { return m_speed; }
    SegmentedControl *intensityPicker() const { return m_intensity; }

    // The description of a switch look.
    static QString describe(SwitchLook look);

private:
    void refresh();
    void tapSwatch(const std::optional<QString> &hex);
    void openPanel();
    void setCustomAccent(const QColor &color);

    const SettingsContext &m_context;
    QColor m_customAccent;
    bool m_customSelectedOverride = false;
    SegmentedControl *m_mode;
    ColorSwatch *m_system;
    std::vector<ColorSwatch *> m_presets;
    ColorSwatch *m_custom;
    QComboBox *m_look;
    QLabel *m_description;
    QPushButton *m_preview;
    QWidget *m_speedRow;
    QWidget *m_intensityRow;
    SegmentedControl *m_speed;
    SegmentedControl *m_intensity;
    SegmentedControl *m_menuBar;
};

} // namespace quorvane
