#pragma once

#include <QString>

#include <functional>

namespace quorvane {

// Notices the installed application being moved to the Trash.
class TrashWatcher {
public:
    // An empty appIdentifier: the bare executable, which is never watched.
    explicit TrashWatcher(const QString &appIdentifier);

    std::function<void()> onTrashed;

    void start();

private:
    QString m_appIdentifier;
};

} // namespace quorvane
