#pragma once

#include "Appearance.h"
#include "AppearanceMode.h"
#include "CustomFilter.h"
#include "FloatingDockTypes.h"
#include "HotKeySpec.h"
#include "SwitchEffectTypes.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvane {

// The one record of user settings and remembered flags, stored in the document under
// "settings". A default-constructed record is the settings of a fresh document.
struct AppSettings {
    // The most desktop names the option-click carousel holds.
    static constexpr std::int64_t optionClickCarouselLimit = 4;

    // Global shortcuts.
    std::optional<HotKeySpec> cycleNext;
    std::optional<HotKeySpec> cyclePrevious;
    std::optional<HotKeySpec> hideDesktopShortcut;
    std::optional<HotKeySpec> switchToLastShortcut;
    std::optional<HotKeySpec> openSettingsShortcut;
    std::optional<HotKeySpec> openCalendarShortcut;
    std::optional<HotKeySpec> sortNowShortcut;

    bool warnICloudDesktop = true;
    bool startMinimized = false;
    std::optional<QString> archiveRoot; // none: the desktops folder's "Archive"
    Appearance appearance{AppearanceMode::system, Appearance::defaultAccentHex};
    bool shownFirstSwitchNote = false;

    // The switch transition: the user's choice, then the numbers derived from it.
    SwitchTransition switchTransition = SwitchTransition::none;
    SwitchLook switchLook = SwitchLook::none;
    SwitchSpeed switchSpeed = SwitchSpeed::normal;
    SwitchIntensity switchIntensity = SwitchIntensity::medium;
    MenuBarAnimation menuBarAnimation = MenuBarAnimation::nudge;
    IconPlacement iconPlacement = IconPlacement::settle;
    std::int64_t moveGapMs = 10;
    double switchBlurOpacity = 0.5;
    std::int64_t switchRevealHoldMs = 0;
    std::int64_t switchMinDurationMs = 1000;
    SwitchBlurStyle switchBlurStyle = SwitchBlurStyle::frost;
    std::int64_t switchFadeInMs = 260;
    std::int64_t switchFadeOutMs = 500;
    std::int64_t sweepDurationMs = 725;
    double sweepBandFraction = 0.45;
    std::int64_t sweepStartDelayMs = 280;
    double sweepAngleDegrees = -20.0;

    // Screenshots.
    bool filterScreenshots = false;
    std::optional<QString> screenshotsWorkspace;
    bool screenshotFilenameFallback = false;
    std::optional<QString> screenshotNamePrefix; // none or blank: the system's own prefix
    bool showScreenshotPauseInMenu = false;
    bool screenshotFilteringPaused = false;

    // Cleanup reminders and confirmations.
    bool muteCleanupNotifications = false;
    std::int64_t cleanupNotifyMinutes = 540; // minutes after midnight
    bool cleanupNotifyRepeat = false;
    bool cleanupNotifySound = true;
    bool confirmDrain = true;
    bool confirmArchive = true;

    // Name rules.
    bool customFiltersEnabled = false;
    std::vector<CustomFilter> customFilters;
    bool customFiltersWatch = false;
    bool screenshotsOverruleCustom = true;

    bool overlaysMuted = false;
    bool hideMenuBarTintInFullScreen = false;
    QStringList optionClickCarousel;
    bool scrollToCycle = true;
    bool followSpaces = false;
    bool nativePositions = true; // forced on when reading
    QStringList pinnedFolders;

    // Floating dock.
    std::optional<HotKeySpec> floatingDockShortcut;
    bool showFloatingDockInMenu = true;
    bool showCleanupCalendarInMenu = true;
    bool showShortcutsInMenu = false;
    bool floatingDockRememberPosition = false;
    std::optional<FloatingDockPosition> floatingDockPosition;
    bool floatingDockFastTransition = true;
    bool floatingDockColorFolders = false;
    FloatingDockMaterial floatingDockMaterial = FloatingDockMaterial::solid;
    AppearanceMode floatingDockAppearance = AppearanceMode::system;
    FloatingDockAxis floatingDockAxis = FloatingDockAxis::horizontal;
    FloatingDockSize floatingDockSize = FloatingDockSize::system;
    FloatingDockCorner floatingDockCorner = FloatingDockCorner::off;
    std::int64_t floatingDockCornerDwellMs = 50;      // 20 ... 2000 after reading
    bool floatingDockCornerSuppressFullScreen = true; // forced on when reading
    bool floatingDockShowFlipButtons = true;

    // Hints and offers.
    bool showDeskListHint = true;
    bool showMoveHint = true;
    bool showShortcutHint = true;
    bool declinedMoveToApplications = false;

    bool operator==(const AppSettings &) const = default;

    // The settings of a fresh document.
    static AppSettings defaults() { return AppSettings{}; }

    // Every key optional. Documents written before the look settings existed get a look,
    // speed and intensity derived from their transition numbers. Throws DecodeError.
    static AppSettings fromJson(const QJsonObject &object);
    QJsonObject toJson() const;

    // The look nearest to a transition, blur style and band angle.
    static SwitchLook derivedLook(SwitchTransition transition, SwitchBlurStyle blurStyle, double angle);
    // The intensity nearest to the band fraction (sweeps) or the cover's opacity (others).
    static SwitchIntensity derivedIntensity(SwitchLook look, double bandFraction, double opacity);
    // The speed whose sweep duration is nearest to durationMs.
    static SwitchSpeed speedForSweepDuration(std::int64_t durationMs);
};

} // namespace quorvane
