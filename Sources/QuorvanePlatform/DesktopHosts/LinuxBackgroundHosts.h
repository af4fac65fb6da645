#pragma once

#include "DesktopHosts/BackgroundHost.h"
#include "Session/XfconfChannel.h"

#include <QStringList>

namespace quorvane {

// xfdesktop: the xfce4-desktop channel of the settings daemon, for every monitor and workspace
// it holds a background for: the picture (last-image), how it is drawn (image-style), the
// colour's style (color-style) and the colour (rgba1). Where the channel holds none yet, the
// screens' first workspaces.
class XfdesktopBackgroundHost final : public BackgroundHost {
public:
    explicit XfdesktopBackgroundHost(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                                     QStringList monitors = {});
    QString name() const override { return QStringLiteral("xfdesktop"); }
    std::optional<QVariantMap> read(QString &error) override;
    std::optional<QString> write(const QVariantMap &values) override;
    QVariantMap cueValues(const BackgroundFill &fill, const QVariantMap &current) const override;
    std::optional<BackgroundFill> shownBy(const QVariantMap &values) const override;

private:
    XfconfChannel m_channel;
    QStringList m_monitors;
};

// pcmanfm's desktop, one profile of it: its picture and picture mode, read from its
// desktop-items-0.conf and set through the running desktop's own command line. It shows a
// colour only as a picture. A write returns once the desktop has saved what it was told (or
// fails after a few seconds), since the file is all there is to read back.
class PcmanfmBackgroundHost final : public BackgroundHost {
public:
    // saveTimeoutMs: how long a write waits for the desktop to save what it was told.
    PcmanfmBackgroundHost(const QString &configHome, const QString &profile, int saveTimeoutMs = 3000);
    QString name() const override { return QStringLiteral("pcmanfm/") + m_profile; }
    std::optional<QVariantMap> read(QString &error) override;
    std::optional<QString> write(const QVariantMap &values) override;
    QVariantMap cueValues(const BackgroundFill &fill, const QVariantMap &current) const override;
    std::optional<BackgroundFill> shownBy(const QVariantMap &values) const override;

    QString configFile() const;

private:
    QString m_configHome;
    QString m_profile;
    int m_saveTimeoutMs;
};

// The background schema of GNOME (org.gnome.desktop.background), Cinnamon
// (org.cinnamon.desktop.background) or MATE (org.mate.background), through the gsettings tool,
// its values kept as the tool prints them, the schema read in one run of the tool. Keys the
// schema lacks are left out. Only values inside a key's range are written, and a change is
// written whole or not at all: a failed key puts back those written before it.
class GSettingsBackgroundHost final : public BackgroundHost {
public:
    explicit GSettingsBackgroundHost(const QString &schema);
    QString name() const override { return m_schema; }
    std::optional<QVariantMap> read(QString &error) override;
    std::optional<QString> write(const QVariantMap &values) override;
    QVariantMap cueValues(const BackgroundFill &fill, const QVariantMap &current) const override;
    std::optional<BackgroundFill> shownBy(const QVariantMap &values) const override;

    // The values a key of a choice accepts, as the tool prints them ('none'); none for a key
    // that takes any value of its type, or whose range cannot be read.
    std::optional<QStringList> choices(const QString &key) const;

private:
    QString m_schema;
};

// The desktop host of this session: xfdesktop or a pcmanfm desktop running for this user on
// this display, else the GSettings background of a GNOME, Cinnamon or MATE session (by
// XDG_CURRENT_DESKTOP), or Plasma's shell in a KDE session; none otherwise.
std::shared_ptr<BackgroundHost> findBackgroundHost();
// Whether a program of this session draws the Desktop's icons in a window of its own: a
// desktop host process, or Plasma's shell.
bool desktopIconWindowRuns();

} // namespace quorvane
