#pragma once

#include "DesktopHosts/BackgroundHost.h"

#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

// KDE Plasma's wallpaper, which Plasma's shell draws in the desktop's own window: read and set
// through the shell's scripting interface (org.kde.PlasmaShell.evaluateScript), for each of
// its desktop containments: the wallpaper plugin ("<id>/plugin"), its picture
// ("<id>/Image", of org.kde.image) and its colour ("<id>/Color", of org.kde.color), each as
// the shell keeps it. A cue's picture is shown with the picture plugin, a colour with the
// colour plugin; the user's plugin and values go back the same way.
class PlasmaBackgroundHost final : public BackgroundHost {
public:
    // Runs a script in the shell and returns what it printed; none on failure, error saying why.
    using Evaluate = std::function<std::optional<QString>(const QString &script, QString &error)>;

    // Without an evaluator: the session bus's shell, waiting at most five seconds.
    explicit PlasmaBackgroundHost(Evaluate evaluate = {});

    QString name() const override { return QStringLiteral("plasmashell"); }
    std::optional<QVariantMap> read(QString &error) override;
    std::optional<QString> write(const QVariantMap &values) override;
    QVariantMap cueValues(const BackgroundFill &fill, const QVariantMap &current) const override;
    std::optional<BackgroundFill> shownBy(const QVariantMap &values) const override;

    // The script that sets these values (ids and keys as read() gives them).
    static QString writeScript(const QVariantMap &values);

private:
    Evaluate m_evaluate;
};

} // namespace quorvane
