#pragma once

#include "Config.h"
#include "HotKeyAssignment.h"
#include "HotKeySpec.h"
#include "SettingsViews/SettingsContext.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QVBoxLayout;

namespace quorvane {

class GradualRows;
class KeyRecorderView;
class SettingRow;

// The Shortcuts section: a recorder per live desktop and per global action, whether the menu
// shows them, the option-click carousel's stops and scrolling to cycle.
class ShortcutsTab : public QWidget {
    Q_OBJECT

public:
    static constexpr int carouselLimit = 4;

    explicit ShortcutsTab(const SettingsContext &context, QWidget *parent = nullptr);

    // The carousel's stop pickers, then the add picker when there is one.
    std::vector<QComboBox *> carouselPickers() const;

    // The names a stop's picker may offer: live desktops not used by another stop; without a
    // stop, those not used at all.
    static QStringList available(const QStringList &liveNames, const QStringList &carousel, std::optional<int> stop);

private:
    struct Global {
        QString label;
        HotKeyAssignment::Owner owner;
        std::function<std::optional<HotKeySpec>(const AppSettings &)> read;
        std::function<void(SettingsModel &, const std::optional<HotKeySpec> &)> write;
        KeyRecorderView *recorder = nullptr;
        SettingRow *row = nullptr;
    };

    void refresh();
    void refreshDesktops(const std::vector<Workspace> &live);
    void rebuildCarousel(const QStringList &liveNames, const QStringList &carousel);
    void setStop(int index, const QString &name);

    const SettingsContext &m_context;
    QLabel *m_noDesktops = nullptr;
    QWidget *m_desktops;
    std::vector<std::pair<QString, SettingRow *>> m_desktopRows;
    std::vector<Global> m_globals;
    QCheckBox *m_showInMenu;
    QWidget *m_carousel;
    QStringList m_carouselShown;
    QStringList m_carouselLive;
    QCheckBox *m_scroll;
    GradualRows *m_gradual;
};

} // namespace quorvane
