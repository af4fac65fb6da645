#pragma once

#include "SettingsViews/SettingsContext.h"
#include "SettingsViews/WallpaperPreview.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace quorvane {

class ColorSwatch;
class SegmentedControl;
struct DesktopCue;

// The wallpaper block at the end of the Appearance section: the switch that mutes every
// overlay, then for one desktop at a time its overlay (shown or not, above the icons or not,
// a colour or an image, its opacity, with a preview) and its own light or dark mode.
// The colour, opacity and fill kind shown are the editor's own while the user works; they are
// read from the document when the editor is shown and when another desktop is chosen.
class DesktopWallpaperEditor : public QWidget {
    Q_OBJECT

public:
    using FillKind = WallpaperPreview::FillKind;

    // Names this long or longer are shortened in the desktop picker.
    static constexpr int longName = 35;

    explicit DesktopWallpaperEditor(const SettingsContext &context, QWidget *parent = nullptr);

    // A desktop's name as the picker lists it: from longName characters on, its first
    // longName - 1 characters (a character outside the basic plane counts once), trimmed,
    // and "…".
    static QString listedName(const QString &name);

    const QString &target() const { return m_target; }
    QColor liveColor() const { return m_liveColor; }
    double liveOpacity() const { return m_liveOpacity; }
    FillKind fillKind() const { return m_fillKind; }

    QCheckBox *muteToggle() const { return m_mute; }
    QLabel *emptyText() const { return m_empty; }
    QComboBox *targetPicker() const { return m_picker; }
    QCheckBox *showToggle() const { return m_show; }
    QCheckBox *aboveIconsToggle() const { return m_above; }
    QLabel *fillSymbol() const { return m_fillSymbol; }
    QLabel *imageName() const { return m_imageName; }
    SegmentedControl *fillPicker() const { return m_fillPicker; }
    QPushButton *chooseButton() const { return m_choose; }
    ColorSwatch *colorWell() const { return m_well; }
    QSlider *opacitySlider() const { return m_slider; }
    QLabel *percentText() const { return m_percent; }
    WallpaperPreview *preview() const { return m_preview; }
    SegmentedControl *appearancePicker() const { return m_appearance; }
    // Beside the Light / Dark choice where the session's theme has no dark variant; none otherwise.
    QLabel *noDarkVariantNote() const { return m_noDarkNote; }
    // Where a cue below the icons cannot be shown; none otherwise.
    QLabel *ownWallpaperNote() const { return m_ownWallpaperNote; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The cue of the desktop being edited, none when it has none.
    std::optional<DesktopCue> cue() const;
    void chooseTarget();
    void load();
    void refresh();
    void refreshFill();
    void pickTarget(int index);
    void pickFillKind(FillKind kind);
    void chooseImage();
    void openColorPanel();
    void takeColor(const QColor &color);
    void commitColor();
    void slide(int value);
    void commitOpacity();

    const SettingsContext &m_context;
    QString m_target;
    QColor m_liveColor = Qt::black;
    double m_liveOpacity = 0.7;
    FillKind m_fillKind = FillKind::color;
    // Whether the desktop's overlay lay above the icons when last seen, to clamp the opacity
    // shown when that changes.
    bool m_aboveIcons = false;
    QStringList m_listed;
    // The desktop of the colour this editor last sent to the delayed write.
    QString m_pendingFor;

    QCheckBox *m_mute;
    QLabel *m_empty;
    QWidget *m_body;
    QComboBox *m_picker;
    QCheckBox *m_show;
    QCheckBox *m_above;
    QLabel *m_fillSymbol;
    QLabel *m_imageName;
    SegmentedControl *m_fillPicker;
    QPushButton *m_choose;
    ColorSwatch *m_well;
    QSlider *m_slider;
    QLabel *m_percent;
    WallpaperPreview *m_preview;
    SegmentedControl *m_appearance;
    QLabel *m_noDarkNote = nullptr;
    QLabel *m_ownWallpaperNote = nullptr;
};

} // namespace quorvane
