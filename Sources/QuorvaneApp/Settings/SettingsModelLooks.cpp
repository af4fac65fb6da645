// A desktop's cue, colour, light or dark mode and Space.
#include "Settings/SettingsModel.h"

#include "Files/FileOperations.h"
#include "NoReplaceMove.h"
#include "Overlays/CueImageCache.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace quorvane {

bool SettingsModel::editCue(const QString &name, const std::function<void(DesktopCue &)> &edit)
{
    return apply([&](Config &config) {
        config.updateWorkspace(name, [&](Workspace &w) {
            DesktopCue cue = w.cue.value_or(DesktopCue());
            edit(cue);
            w.cue = cue;
        });
    });
}

void SettingsModel::setCueEnabled(const QString &name, bool enabled)
{
    editCue(name, [&](DesktopCue &cue) { cue.enabled = enabled; });
}

void SettingsModel::setCueColor(const QString &name, const QString &hex)
{
    editCue(name, [&](DesktopCue &cue) { cue.fill = DesktopCue::Fill::color(hex); });
}

void SettingsModel::setCueAboveIcons(const QString &name, bool above)
{
    editCue(name, [&](DesktopCue &cue) {
        cue.aboveIcons = above;
        cue.opacity = DesktopCue::clampOpacity(cue.opacity, above);
    });
}

void SettingsModel::setCueOpacity(const QString &name, double opacity)
{
    editCue(name, [&](DesktopCue &cue) { cue.opacity = DesktopCue::clampOpacity(opacity, cue.aboveIcons); });
}

void SettingsModel::setCueImage(const QString &name, const QString &pickedFile)
{
    if (!documentIsWritable())
        return;
    const QString cues = m_paths.cues();
    const QString picked = QFileInfo(pickedFile).fileName();
    if (const int code = m_files.makeFolders(cues)) {
        refuse(tr("Couldn't load that image: %1").arg(fileops::errorTextFor(code, picked)));
        return;
    }
    const QString suffix = QFileInfo(pickedFile).suffix();
    const QString copy = cues + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()
        + QLatin1Char('.') + (suffix.isEmpty() ? QStringLiteral("img") : suffix);
    if (const int code = m_files.copyExclusive(pickedFile, copy)) {
        refuse(tr("Couldn't load that image: %1").arg(fileops::errorTextFor(code, picked)));
        return;
    }

    std::optional<QString> old;
    if (const Workspace *w = m_config.workspace(name); w && w->cue && w->cue->fill.kind == DesktopCue::Fill::Kind::image)
        old = w->cue->fill.value;
    if (!editCue(name, [&](DesktopCue &cue) { cue.fill = DesktopCue::Fill::image(copy); }) || !old || *old == copy)
        return;

    if (m_cueImages)
        m_cueImages->evict(*old);
    // Only the application's own copy goes: a regular file directly in the cues folder that no
    // desktop still shows. A hand-edited document may name any picture of the user's.
    const QFileInfo previous(*old);
    if (!previous.isFile() || previous.isSymLink()
        || QDir::cleanPath(previous.absolutePath()) != QDir::cleanPath(QFileInfo(cues).absoluteFilePath()))
        return;
    for (const Workspace &w : m_config.workspaces) {
        if (w.cue && w.cue->fill.kind == DesktopCue::Fill::Kind::image && w.cue->fill.value == *old)
            return;
    }
    m_files.remove(*old);
}

void SettingsModel::setWorkspaceColor(const QString &name, const QString &hex)
{
    apply([&](Config &config) { config.updateWorkspace(name, [&](Workspace &w) { w.colorHex = hex; }); });
}

void SettingsModel::setPreferredAppearance(const QString &name, AppearanceMode mode)
{
    apply([&](Config &config) { config.updateWorkspace(name, [&](Workspace &w) { w.preferredAppearance = mode; }); });
}

void SettingsModel::setSpaceBinding(const QString &name, const std::optional<QString> &space)
{
    apply([&](Config &config) { config.bindWorkspace(name, space); });
}

} // namespace quorvane
