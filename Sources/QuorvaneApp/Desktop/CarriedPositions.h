#pragma once

#include "DesktopSurface.h"

#include <QString>

#include <map>

namespace quorvane {

// The desktop host's position entries of a desktop's items while they lie in its folder: the
// hidden file ".icon-positions.json" of that folder, one map of name → position per host
// (positions of one host mean nothing to another). It travels with the folder.
class CarriedPositions {
public:
    static const QString fileName; // ".icon-positions.json"
    // Thousands of entries take well under this; a larger file is none of ours and is not read.
    static const qint64 maxBytes;

    // Reads the folder's file; a missing or damaged one holds nothing. Throws IconStoreError
    // for what is not a regular file of at most maxBytes (a link, a FIFO, a device): it stays
    // as it is and is never read or written.
    explicit CarriedPositions(const QString &folder);

    IconPositions &of(const QString &host) { return m_hosts[host]; }
    // Writes the file in one step when its content changed, replacing a regular file only; a
    // folder that does not exist yet is created. Throws IconStoreError when it cannot be written.
    void save();

private:
    QString m_path;
    std::map<QString, IconPositions> m_hosts;
    QByteArray m_loaded;
};

} // namespace quorvane
