#include "AppSettings.h"

#include "JsonCoding.h"
#include "SwitchLookSpec.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::int64_t minCornerDwellMs = 20;
constexpr std::int64_t maxCornerDwellMs = 2000;

// The nearest of three candidates: the second must be strictly nearer than the first, the
// third strictly nearer than the better of those two, so ties go to the earlier candidate.
template <typename E>
E nearestOfThree(double value, E first, double a, E second, double b, E third, double c)
{
    E best = first;
    double bestDistance = std::abs(a - value);
    if (std::abs(b - value) < bestDistance) {
        best = second;
        bestDistance = std::abs(b - value);
    }
    if (std::abs(c - value) < bestDistance)
        best = third;
    return best;
}

} // namespace

SwitchLook AppSettings::derivedLook(SwitchTransition transition, SwitchBlurStyle blurStyle, double angle)
{
    switch (transition) {
    case SwitchTransition::none:
        return SwitchLook::none;
    case SwitchTransition::blur:
        return blurStyle == SwitchBlurStyle::soft ? SwitchLook::soft : SwitchLook::frost;
    case SwitchTransition::sweep:
        break;
    }
    // Candidates in order; a later one wins only when strictly nearer.
    SwitchLook best = SwitchLook::vertical;
    double bestDistance = std::abs(*SwitchLookSpec::angle(best) - angle);
    for (SwitchLook candidate : {SwitchLook::horizontal, SwitchLook::angledDown, SwitchLook::angledUp}) {
        const double distance = std::abs(*SwitchLookSpec::angle(candidate) - angle);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

SwitchIntensity AppSettings::derivedIntensity(SwitchLook look, double bandFraction, double opacity)
{
    if (isSweep(look))
        return nearestOfThree(bandFraction, SwitchIntensity::subtle, 0.2, SwitchIntensity::medium, 0.45,
                              SwitchIntensity::strong, 0.72);
    return nearestOfThree(opacity, SwitchIntensity::subtle, 0.3, SwitchIntensity::medium, 0.45,
                          SwitchIntensity::strong, 0.6);
}

SwitchSpeed AppSettings::speedForSweepDuration(std::int64_t durationMs)
{
    const double d = double(durationMs);
    const double base = double(SwitchLookSpec::baseSweepDurationMs);
    const double slow = base * SwitchLookSpec::factor(SwitchSpeed::slow);
    const double fast = base * SwitchLookSpec::factor(SwitchSpeed::fast);
    // normal against slow first (ties to slow), then fast only when strictly nearer.
    SwitchSpeed choice = std::abs(base - d) < std::abs(slow - d) ? SwitchSpeed::normal : SwitchSpeed::slow;
    const double choiceDistance = std::abs((choice == SwitchSpeed::normal ? base : slow) - d);
    if (std::abs(fast - d) < choiceDistance)
        choice = SwitchSpeed::fast;
    return choice;
}

AppSettings AppSettings::fromJson(const QJsonObject &o)
{
    AppSettings s;
    s.cycleNext = json::optionalRecord<HotKeySpec>(o, "cycleNext"_L1);
    s.cyclePrevious = json::optionalRecord<HotKeySpec>(o, "cyclePrevious"_L1);
    s.hideDesktopShortcut = json::optionalRecord<HotKeySpec>(o, "hideDesktopShortcut"_L1);
    s.switchToLastShortcut = json::optionalRecord<HotKeySpec>(o, "switchToLastShortcut"_L1);
    s.openSettingsShortcut = json::optionalRecord<HotKeySpec>(o, "openSettingsShortcut"_L1);
    s.openCalendarShortcut = json::optionalRecord<HotKeySpec>(o, "openCalendarShortcut"_L1);
    s.sortNowShortcut = json::optionalRecord<HotKeySpec>(o, "sortNowShortcut"_L1);
    s.warnICloudDesktop = json::boolean(o, "warnICloudDesktop"_L1, s.warnICloudDesktop);
    s.startMinimized = json::boolean(o, "startMinimized"_L1, s.startMinimized);
    s.archiveRoot = json::optionalText(o, "archiveRoot"_L1);
    if (auto appearance = json::optionalRecord<Appearance>(o, "appearance"_L1))
        s.appearance = *appearance;
    s.shownFirstSwitchNote = json::boolean(o, "shownFirstSwitchNote"_L1, s.shownFirstSwitchNote);
    s.switchTransition = json::enumeration(o, "switchTransition"_L1, s.switchTransition);
    // switchLook, switchSpeed, switchIntensity and menuBarAnimation are read after the
    // transition numbers, from which the first three are derived when absent.
    s.iconPlacement = json::enumeration(o, "iconPlacement"_L1, s.iconPlacement);
    s.moveGapMs = json::integer(o, "moveGapMs"_L1, s.moveGapMs);
    s.switchBlurOpacity = json::number(o, "switchBlurOpacity"_L1, s.switchBlurOpacity);
    s.switchRevealHoldMs = json::integer(o, "switchRevealHoldMs"_L1, s.switchRevealHoldMs);
    s.switchMinDurationMs = json::integer(o, "switchMinDurationMs"_L1, s.switchMinDurationMs);
    s.switchBlurStyle = json::enumeration(o, "switchBlurStyle"_L1, s.switchBlurStyle);
    s.switchFadeInMs = json::integer(o, "switchFadeInMs"_L1, s.switchFadeInMs);
    s.switchFadeOutMs = json::integer(o, "switchFadeOutMs"_L1, s.switchFadeOutMs);
    s.sweepDurationMs = json::integer(o, "sweepDurationMs"_L1, s.sweepDurationMs);
    s.sweepBandFraction = json::number(o, "sweepBandFraction"_L1, s.sweepBandFraction);
    s.sweepStartDelayMs = json::integer(o, "sweepStartDelayMs"_L1, s.sweepStartDelayMs);
    s.sweepAngleDegrees = json::number(o, "sweepAngleDegrees"_L1, s.sweepAngleDegrees);

    if (auto look = json::optionalEnumeration<SwitchLook>(o, "switchLook"_L1))
        s.switchLook = *look;
    else
        s.switchLook = derivedLook(s.switchTransition, s.switchBlurStyle, s.sweepAngleDegrees);
    if (auto speed = json::optionalEnumeration<SwitchSpeed>(o, "switchSpeed"_L1))
        s.switchSpeed = *speed;
    else
        s.switchSpeed = speedForSweepDuration(s.sweepDurationMs);
    if (auto intensity = json::optionalEnumeration<SwitchIntensity>(o, "switchIntensity"_L1))
        s.switchIntensity = *intensity;
    else
        s.switchIntensity = derivedIntensity(s.switchLook, s.sweepBandFraction, s.switchBlurOpacity);
    s.menuBarAnimation = json::enumeration(o, "menuBarAnimation"_L1, s.menuBarAnimation);

    s.filterScreenshots = json::boolean(o, "filterScreenshots"_L1, s.filterScreenshots);
    s.screenshotsWorkspace = json::optionalText(o, "screenshotsWorkspace"_L1);
    s.screenshotFilenameFallback = json::boolean(o, "screenshotFilenameFallback"_L1, s.screenshotFilenameFallback);
    s.screenshotNamePrefix = json::optionalText(o, "screenshotNamePrefix"_L1);
    s.showScreenshotPauseInMenu = json::boolean(o, "showScreenshotPauseInMenu"_L1, s.showScreenshotPauseInMenu);
    s.screenshotFilteringPaused = json::boolean(o, "screenshotFilteringPaused"_L1, s.screenshotFilteringPaused);
    s.muteCleanupNotifications = json::boolean(o, "muteCleanupNotifications"_L1, s.muteCleanupNotifications);
    s.cleanupNotifyMinutes = json::integer(o, "cleanupNotifyMinutes"_L1, s.cleanupNotifyMinutes);
    s.cleanupNotifyRepeat = json::boolean(o, "cleanupNotifyRepeat"_L1, s.cleanupNotifyRepeat);
    s.cleanupNotifySound = json::boolean(o, "cleanupNotifySound"_L1, s.cleanupNotifySound);
    s.confirmDrain = json::boolean(o, "confirmDrain"_L1, s.confirmDrain);
    s.confirmArchive = json::boolean(o, "confirmArchive"_L1, s.confirmArchive);
    s.customFiltersEnabled = json::boolean(o, "customFiltersEnabled"_L1, s.customFiltersEnabled);
    s.customFilters = json::recordList<CustomFilter>(o, "customFilters"_L1);
    s.customFiltersWatch = json::boolean(o, "customFiltersWatch"_L1, s.customFiltersWatch);
    s.screenshotsOverruleCustom = json::boolean(o, "screenshotsOverruleCustom"_L1, s.screenshotsOverruleCustom);
    s.overlaysMuted = json::boolean(o, "overlaysMuted"_L1, s.overlaysMuted);
    s.hideMenuBarTintInFullScreen = json::boolean(o, "hideMenuBarTintInFullScreen"_L1, s.hideMenuBarTintInFullScreen);
    s.optionClickCarousel = json::stringList(o, "optionClickCarousel"_L1);
    s.scrollToCycle = json::boolean(o, "scrollToCycle"_L1, s.scrollToCycle);
    s.followSpaces = json::boolean(o, "followSpaces"_L1, s.followSpaces);
    // nativePositions is never read: always on after loading.
    s.nativePositions = true;
    s.pinnedFolders = json::stringList(o, "pinnedFolders"_L1);
    s.floatingDockShortcut = json::optionalRecord<HotKeySpec>(o, "floatingDockShortcut"_L1);
    s.showFloatingDockInMenu = json::boolean(o, "showFloatingDockInMenu"_L1, s.showFloatingDockInMenu);
    s.showCleanupCalendarInMenu = json::boolean(o, "showCleanupCalendarInMenu"_L1, s.showCleanupCalendarInMenu);
    s.showShortcutsInMenu = json::boolean(o, "showShortcutsInMenu"_L1, s.showShortcutsInMenu);
    s.floatingDockRememberPosition =
        json::boolean(o, "floatingDockRememberPosition"_L1, s.floatingDockRememberPosition);
    s.floatingDockPosition = json::optionalRecord<FloatingDockPosition>(o, "floatingDockPosition"_L1);
    s.floatingDockFastTransition = json::boolean(o, "floatingDockFastTransition"_L1, s.floatingDockFastTransition);
    s.floatingDockColorFolders = json::boolean(o, "floatingDockColorFolders"_L1, s.floatingDockColorFolders);
    s.floatingDockMaterial = json::enumeration(o, "floatingDockMaterial"_L1, s.floatingDockMaterial);
    s.floatingDockAppearance = json::enumeration(o, "floatingDockAppearance"_L1, s.floatingDockAppearance);
    s.floatingDockAxis = json::enumeration(o, "floatingDockAxis"_L1, s.floatingDockAxis);
    s.floatingDockSize = json::enumeration(o, "floatingDockSize"_L1, s.floatingDockSize);
    s.floatingDockCorner = json::enumeration(o, "floatingDockCorner"_L1, s.floatingDockCorner);
    s.floatingDockCornerDwellMs = std::clamp<std::int64_t>(json::integer(o, "floatingDockCornerDwellMs"_L1, s.floatingDockCornerDwellMs),
                                                           minCornerDwellMs, maxCornerDwellMs);
    // floatingDockCornerSuppressFullScreen is never read: always on after loading.
    s.floatingDockCornerSuppressFullScreen = true;
    s.floatingDockShowFlipButtons = json::boolean(o, "floatingDockShowFlipButtons"_L1, s.floatingDockShowFlipButtons);
    s.showDeskListHint = json::boolean(o, "showDeskListHint"_L1, s.showDeskListHint);
    s.showMoveHint = json::boolean(o, "showMoveHint"_L1, s.showMoveHint);
    s.showShortcutHint = json::boolean(o, "showShortcutHint"_L1, s.showShortcutHint);
    s.declinedMoveToApplications = json::boolean(o, "declinedMoveToApplications"_L1, s.declinedMoveToApplications);
    return s;
}

QJsonObject AppSettings::toJson() const
{
    QJsonObject o;
    const auto putShortcut = [&o](const char *key, const std::optional<HotKeySpec> &spec) {
        if (spec)
            o.insert(QLatin1StringView(key), spec->toJson());
    };
    const auto putText = [&o](const char *key, const std::optional<QString> &value) {
        if (value)
            o.insert(QLatin1StringView(key), *value);
    };
    putShortcut("cycleNext", cycleNext);
    putShortcut("cyclePrevious", cyclePrevious);
    putShortcut("hideDesktopShortcut", hideDesktopShortcut);
    putShortcut("switchToLastShortcut", switchToLastShortcut);
    putShortcut("openSettingsShortcut", openSettingsShortcut);
    putShortcut("openCalendarShortcut", openCalendarShortcut);
    putShortcut("sortNowShortcut", sortNowShortcut);
    o.insert("warnICloudDesktop"_L1, warnICloudDesktop);
    o.insert("startMinimized"_L1, startMinimized);
    putText("archiveRoot", archiveRoot);
    o.insert("appearance"_L1, appearance.toJson());
    o.insert("shownFirstSwitchNote"_L1, shownFirstSwitchNote);
    o.insert("switchTransition"_L1, toString(switchTransition));
    o.insert("switchLook"_L1, toString(switchLook));
    o.insert("switchSpeed"_L1, toString(switchSpeed));
    o.insert("switchIntensity"_L1, toString(switchIntensity));
    o.insert("menuBarAnimation"_L1, toString(menuBarAnimation));
    o.insert("iconPlacement"_L1, toString(iconPlacement));
    o.insert("moveGapMs"_L1, qint64(moveGapMs));
    o.insert("switchBlurOpacity"_L1, switchBlurOpacity);
    o.insert("switchRevealHoldMs"_L1, qint64(switchRevealHoldMs));
    o.insert("switchMinDurationMs"_L1, qint64(switchMinDurationMs));
    o.insert("switchBlurStyle"_L1, toString(switchBlurStyle));
    o.insert("switchFadeInMs"_L1, qint64(switchFadeInMs));
    o.insert("switchFadeOutMs"_L1, qint64(switchFadeOutMs));
    o.insert("sweepDurationMs"_L1, qint64(sweepDurationMs));
    o.insert("sweepBandFraction"_L1, sweepBandFraction);
    o.insert("sweepStartDelayMs"_L1, qint64(sweepStartDelayMs));
    o.insert("sweepAngleDegrees"_L1, sweepAngleDegrees);
    o.insert("filterScreenshots"_L1, filterScreenshots);
    putText("screenshotsWorkspace", screenshotsWorkspace);
    o.insert("screenshotFilenameFallback"_L1, screenshotFilenameFallback);
    putText("screenshotNamePrefix", screenshotNamePrefix);
    o.insert("showScreenshotPauseInMenu"_L1, showScreenshotPauseInMenu);
    o.insert("screenshotFilteringPaused"_L1, screenshotFilteringPaused);
    o.insert("muteCleanupNotifications"_L1, muteCleanupNotifications);
    o.insert("cleanupNotifyMinutes"_L1, qint64(cleanupNotifyMinutes));
    o.insert("cleanupNotifyRepeat"_L1, cleanupNotifyRepeat);
    o.insert("cleanupNotifySound"_L1, cleanupNotifySound);
    o.insert("confirmDrain"_L1, confirmDrain);
    o.insert("confirmArchive"_L1, confirmArchive);
    o.insert("customFiltersEnabled"_L1, customFiltersEnabled);
    o.insert("customFilters"_L1, json::fromRecordList(customFilters));
    o.insert("customFiltersWatch"_L1, customFiltersWatch);
    o.insert("screenshotsOverruleCustom"_L1, screenshotsOverruleCustom);
    o.insert("overlaysMuted"_L1, overlaysMuted);
    o.insert("hideMenuBarTintInFullScreen"_L1, hideMenuBarTintInFullScreen);
    o.insert("optionClickCarousel"_L1, json::fromStringList(optionClickCarousel));
    o.insert("scrollToCycle"_L1, scrollToCycle);
    o.insert("followSpaces"_L1, followSpaces);
    o.insert("nativePositions"_L1, nativePositions);
    o.insert("pinnedFolders"_L1, json::fromStringList(pinnedFolders));
    putShortcut("floatingDockShortcut", floatingDockShortcut);
    o.insert("showFloatingDockInMenu"_L1, showFloatingDockInMenu);
    o.insert("showCleanupCalendarInMenu"_L1, showCleanupCalendarInMenu);
    o.insert("showShortcutsInMenu"_L1, showShortcutsInMenu);
    o.insert("floatingDockRememberPosition"_L1, floatingDockRememberPosition);
    if (floatingDockPosition)
        o.insert("floatingDockPosition"_L1, floatingDockPosition->toJson());
    o.insert("floatingDockFastTransition"_L1, floatingDockFastTransition);
    o.insert("floatingDockColorFolders"_L1, floatingDockColorFolders);
    o.insert("floatingDockMaterial"_L1, toString(floatingDockMaterial));
    o.insert("floatingDockAppearance"_L1, toString(floatingDockAppearance));
    o.insert("floatingDockAxis"_L1, toString(floatingDockAxis));
    o.insert("floatingDockSize"_L1, toString(floatingDockSize));
    o.insert("floatingDockCorner"_L1, toString(floatingDockCorner));
    o.insert("floatingDockCornerDwellMs"_L1, qint64(floatingDockCornerDwellMs));
    o.insert("floatingDockCornerSuppressFullScreen"_L1, floatingDockCornerSuppressFullScreen);
    o.insert("floatingDockShowFlipButtons"_L1, floatingDockShowFlipButtons);
    o.insert("showDeskListHint"_L1, showDeskListHint);
    o.insert("showMoveHint"_L1, showMoveHint);
    o.insert("showShortcutHint"_L1, showShortcutHint);
    o.insert("declinedMoveToApplications"_L1, declinedMoveToApplications);
    return o;
}

} // namespace quorvane
