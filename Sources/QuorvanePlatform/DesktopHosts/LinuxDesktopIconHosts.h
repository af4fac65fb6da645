#pragma once

#include "DesktopHosts/DesktopHostProcess.h"
#include "DesktopHosts/DesktopIconHost.h"

namespace quorvane {

// xfdesktop: the key file of the screen's current size, icons.screen<N>-<W>x<H>.rc in
// xfce4/desktop (the one icons.screen.latest.rc names), a group per item's full path on the
// Desktop with its grid cell (row=, col=; a position's x is the column, y the row). xfdesktop
// reads an item's entry as the item appears on the Desktop, and writes the file anew, from
// the icons it shows, after the user moves one.
class XfdesktopIconHost final : public DesktopIconHost {
public:
    XfdesktopIconHost(const QString &configHome, const QString &desktopFolder);
    QString name() const override { return QStringLiteral("xfdesktop"); }
    Pickup pickup() const override { return Pickup::onArrival; }
    IconPositions read(const QStringList &names) override;
    bool write(const IconPositions &set, const QStringList &forget) override;
    bool writeAndReload(const IconPositions &set, const QStringList &forget) override { return write(set, forget); }

    // The store file in use; empty when there is none.
    QString storeFile() const;

private:
    QString m_configHome;
    QString m_desktop;
};

// pcmanfm's desktop, one profile of it: pcmanfm/<profile>/desktop-items-0.conf, a group per
// item name (backslash, CR and LF escaped) with its pixel position (x=, y=), beside the
// desktop's own settings in the group "*". The desktop reads the file only as it starts and
// writes it, from the icons it shows, after a move and as it stops; so positions to show are
// written while its desktop is off (--desktop-off) and the desktop is then started again with
// the command line it was started with (or, when the process stays for windows of its own,
// with --desktop).
class PcmanfmIconHost final : public DesktopIconHost {
public:
    PcmanfmIconHost(const QString &configHome, DesktopHostProcess process);
    QString name() const override { return QStringLiteral("pcmanfm/") + m_process.profile; }
    Pickup pickup() const override { return Pickup::onRestart; }
    IconPositions read(const QStringList &names) override;
    bool write(const IconPositions &set, const QStringList &forget) override;
    bool writeAndReload(const IconPositions &set, const QStringList &forget) override;

    QString storeFile() const;

private:
    QString m_configHome;
    DesktopHostProcess m_process;
};

// The desktop host of this session with a position store (xfdesktop, pcmanfm's desktop, or a
// host keeping positions as GIO metadata: Nemo's, Caja's and the desktop-icons extension's, on
// this display), for the Desktop folder given; none otherwise.
std::shared_ptr<DesktopIconHost> findDesktopIconHost(const QString &desktopFolder);

} // namespace quorvane
