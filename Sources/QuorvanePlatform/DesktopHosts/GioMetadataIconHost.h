#pragma once

#include "DesktopHosts/DesktopIconHost.h"

namespace quorvane {

// A desktop host that keeps each icon's position as GIO file metadata of the item itself
// (kept by gvfs's metadata daemon, keyed by the item's path): Nemo's desktop
// (metadata::nemo-icon-position), Caja's (metadata::caja-icon-position) and GNOME's
// desktop-icons extension (metadata::nautilus-icon-position), each a text "X,Y" in pixels.
// Read with the gio tool (many items a run) and written through GIO in this process (one call
// into the metadata daemon per changed entry; the tool where this process's GIO reaches no
// daemon), without following links. An entry can only be set on an
// item that lies on the Desktop, so entries are written once the items arrived: the host reads
// an item's position as it shows the item.
class GioMetadataIconHost final : public DesktopIconHost {
public:
    // key: the attribute without its "metadata::" namespace.
    GioMetadataIconHost(const QString &hostName, const QString &key, const QString &desktopFolder);
    QString name() const override { return m_name; }
    Pickup pickup() const override { return Pickup::onTheItem; }
    // Names not on the Desktop and values that are not "X,Y" are absent.
    IconPositions read(const QStringList &names) override;
    // Only items that lie on the Desktop take an entry; only changed entries are written.
    bool write(const IconPositions &set, const QStringList &forget) override;
    bool writeAndReload(const IconPositions &set, const QStringList &forget) override { return write(set, forget); }

private:
    QString m_name;
    QString m_attribute;
    QString m_desktop;
};

} // namespace quorvane
