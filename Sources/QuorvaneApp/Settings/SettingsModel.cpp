#include "Settings/SettingsModel.h"

#include "Desktop/ArchiveError.h"
#include "Desktop/ScreenshotFilter.h"
#include "Files/LinuxFileOperations.h"
#include "IoError.h"
#include "Settings/SupportContact.h"
#include "Shared/DocumentService.h"
#include "Shared/Log.h"
#include "StoreError.h"
#include "SwitchLookSpec.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

namespace quorvane {

SettingsModel::SettingsModel(StateStore &store, const Paths &paths, Archiver *archiver, FileOperations *files,
                             QObject *parent)
    : CalendarModel(parent)
    , m_store(store)
    , m_paths(paths)
    , m_archiver(archiver)
    , m_ownFiles(files ? nullptr : std::make_shared<LinuxFileOperations>(paths.copyRecords()))
    , m_files(files ? *files : *m_ownFiles)
{
    try {
        m_config = m_store.loadConfig();
    } catch (const std::exception &error) {
        qCWarning(Log::error()) << "the settings show the default document:" << error.what();
        m_config = Config::defaultDocument();
    }
}

SettingsModel::SettingsModel(DocumentService &service, const Paths &paths, Archiver *archiver, FileOperations *files,
                             QObject *parent)
    : SettingsModel(static_cast<StateStore &>(service), paths, archiver, files, parent)
{
    connect(&service, &DocumentService::changed, this, [this](const Config &document) { setConfig(document); });
}

void SettingsModel::setConfig(const Config &config)
{
    if (config == m_config)
        return;
    m_config = config;
    emit configChanged();
    emit changed();
}

void SettingsModel::setErrorMessage(const std::optional<QString> &message)
{
    if (message == m_errorMessage)
        return;
    m_errorMessage = message;
    m_errorClaimed = message && errorMessageIsClaimedNow();
    emit errorMessageChanged();
    emit changed();
}

void SettingsModel::setDeleteFailure(const std::optional<DeleteFailure> &failure)
{
    if (failure == m_deleteFailure)
        return;
    m_deleteFailure = failure;
    emit deleteFailureChanged();
    emit changed();
}

void SettingsModel::reload()
{
    Config loaded;
    try {
        loaded = m_store.loadConfig();
    } catch (const std::exception &error) {
        qCWarning(Log::error()) << "the settings show the default document:" << error.what();
        loaded = Config::defaultDocument();
    }
    // Republished even when equal, so every view redraws from the stored state.
    m_config = std::move(loaded);
    emit configChanged();
    emit changed();
}

QString SettingsModel::plainDescription(const std::exception &error)
{
    if (dynamic_cast<const StoreError *>(&error))
        return QStringLiteral("configNewerThanApp");
    if (const auto *refusal = dynamic_cast<const Refusal *>(&error))
        return refusal->text;
    if (const auto *io = dynamic_cast<const IoError *>(&error))
        return io->description();
    return QString::fromUtf8(error.what());
}

bool SettingsModel::apply(const std::function<void(Config &)> &edit)
{
    try {
        m_store.mutateConfig(edit);
    } catch (const std::exception &error) {
        setErrorMessage(plainDescription(error));
        return false;
    }
    reload();
    emit stored();
    return true;
}

void SettingsModel::setSetting(const std::function<void(AppSettings &)> &edit)
{
    apply([&](Config &config) { edit(config.settings); });
}

void SettingsModel::refuse(const QString &message)
{
    setErrorMessage(message);
}

bool SettingsModel::documentIsWritable()
{
    try {
        const Config stored = m_store.loadConfig();
        if (stored.schemaVersion > Config::currentSchemaVersion)
            throw StoreError::configNewerThanApp(stored.schemaVersion);
        return true;
    } catch (const std::exception &error) {
        setErrorMessage(plainDescription(error));
        return false;
    }
}

// The simple setters: one field each.

void SettingsModel::setStartMinimized(bool on)
{
    setSetting([&](AppSettings &s) { s.startMinimized = on; });
}

void SettingsModel::setAppearanceMode(AppearanceMode mode)
{
    setSetting([&](AppSettings &s) { s.appearance.mode = mode; });
}

void SettingsModel::setAccent(const std::optional<QString> &hex)
{
    setSetting([&](AppSettings &s) { s.appearance.accentHex = hex; });
}

void SettingsModel::setMenuBarAnimation(MenuBarAnimation animation)
{
    setSetting([&](AppSettings &s) { s.menuBarAnimation = animation; });
}

void SettingsModel::setShowShortcutsInMenu(bool on)
{
    setSetting([&](AppSettings &s) { s.showShortcutsInMenu = on; });
}

void SettingsModel::setScrollToCycle(bool on)
{
    setSetting([&](AppSettings &s) { s.scrollToCycle = on; });
}

void SettingsModel::setFloatingDockCorner(FloatingDockCorner corner)
{
    setSetting([&](AppSettings &s) { s.floatingDockCorner = corner; });
}

void SettingsModel::setShowFloatingDockInMenu(bool on)
{
    setSetting([&](AppSettings &s) { s.showFloatingDockInMenu = on; });
}

void SettingsModel::setFloatingDockAxis(FloatingDockAxis axis)
{
    setSetting([&](AppSettings &s) { s.floatingDockAxis = axis; });
}

void SettingsModel::setFloatingDockSize(FloatingDockSize size)
{
    setSetting([&](AppSettings &s) { s.floatingDockSize = size; });
}

void SettingsModel::setFloatingDockMaterial(FloatingDockMaterial material)
{
    setSetting([&](AppSettings &s) { s.floatingDockMaterial = material; });
}

void SettingsModel::setFloatingDockAppearance(AppearanceMode mode)
{
    setSetting([&](AppSettings &s) { s.floatingDockAppearance = mode; });
}

void SettingsModel::setFloatingDockColorFolders(bool on)
{
    setSetting([&](AppSettings &s) { s.floatingDockColorFolders = on; });
}

void SettingsModel::setFloatingDockRememberPosition(bool on)
{
    setSetting([&](AppSettings &s) {
        s.floatingDockRememberPosition = on;
        if (!on)
            s.floatingDockPosition.reset();
    });
}

void SettingsModel::setFloatingDockShowFlipButtons(bool on)
{
    setSetting([&](AppSettings &s) { s.floatingDockShowFlipButtons = on; });
}

void SettingsModel::setFloatingDockFastTransition(bool on)
{
    setSetting([&](AppSettings &s) { s.floatingDockFastTransition = on; });
}

void SettingsModel::setShowMoveHint(bool on)
{
    setSetting([&](AppSettings &s) { s.showMoveHint = on; });
}

void SettingsModel::setShowCleanupCalendarInMenu(bool on)
{
    setSetting([&](AppSettings &s) { s.showCleanupCalendarInMenu = on; });
}

void SettingsModel::setMuteCleanupNotifications(bool on)
{
    setSetting([&](AppSettings &s) { s.muteCleanupNotifications = on; });
}

void SettingsModel::setCleanupNotifyMinutes(std::int64_t minutes)
{
    setSetting([&](AppSettings &s) { s.cleanupNotifyMinutes = std::clamp<std::int64_t>(minutes, 0, 1439); });
}

void SettingsModel::setCleanupNotifyRepeat(bool on)
{
    setSetting([&](AppSettings &s) { s.cleanupNotifyRepeat = on; });
}

void SettingsModel::setCleanupNotifySound(bool on)
{
    setSetting([&](AppSettings &s) { s.cleanupNotifySound = on; });
}

void SettingsModel::setConfirmDrain(bool on)
{
    setSetting([&](AppSettings &s) { s.confirmDrain = on; });
}

void SettingsModel::setConfirmArchive(bool on)
{
    setSetting([&](AppSettings &s) { s.confirmArchive = on; });
}

void SettingsModel::setScreenshotNamePrefix(const QString &prefix)
{
    setSetting([&](AppSettings &s) {
        if (prefix.isEmpty())
            s.screenshotNamePrefix.reset();
        else
            s.screenshotNamePrefix = prefix;
    });
}

void SettingsModel::setShowScreenshotPauseInMenu(bool on)
{
    setSetting([&](AppSettings &s) { s.showScreenshotPauseInMenu = on; });
}

void SettingsModel::setCustomFiltersEnabled(bool on)
{
    setSetting([&](AppSettings &s) { s.customFiltersEnabled = on; });
}

void SettingsModel::setCustomFiltersWatch(bool on)
{
    setSetting([&](AppSettings &s) { s.customFiltersWatch = on; });
}

void SettingsModel::setScreenshotsOverruleCustom(bool on)
{
    setSetting([&](AppSettings &s) { s.screenshotsOverruleCustom = on; });
}

void SettingsModel::setFollowSpaces(bool on)
{
    setSetting([&](AppSettings &s) { s.followSpaces = on; });
}

void SettingsModel::setOverlaysMuted(bool on)
{
    setSetting([&](AppSettings &s) { s.overlaysMuted = on; });
}

void SettingsModel::dismissDeskListHint()
{
    setSetting([](AppSettings &s) { s.showDeskListHint = false; });
}

void SettingsModel::dismissShortcutHint()
{
    setSetting([](AppSettings &s) { s.showShortcutHint = false; });
}

void SettingsModel::stampSwitchAnimation(std::optional<SwitchLook> look, std::optional<SwitchSpeed> speed,
                                         std::optional<SwitchIntensity> intensity)
{
    setSetting([&](AppSettings &s) {
        SwitchLookSpec::stamp(look.value_or(s.switchLook), speed.value_or(s.switchSpeed),
                              intensity.value_or(s.switchIntensity), s);
    });
}

bool SettingsModel::screenshotsSaveToDesktop() const
{
    const auto location = ScreenshotFilter::screencaptureLocation();
    return !location || QDir::cleanPath(QFileInfo(*location).absoluteFilePath()) == QDir::cleanPath(QFileInfo(m_paths.desktop()).absoluteFilePath());
}

void SettingsModel::copyDiagnostics()
{
    const bool pending = m_store.hasPendingJournal();
    const QString text = SupportContact::diagnostics(m_config, pending, m_paths.root());
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

} // namespace quorvane
