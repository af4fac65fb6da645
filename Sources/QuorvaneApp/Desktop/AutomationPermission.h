#pragma once

#include "DesktopHosts/DesktopIconHost.h"

namespace quorvane {

// Whether icon positions can be arranged: on this platform there is no per-application
// consent, so the question is whether a desktop host with a position store runs. Nothing
// ever prompts.
class AutomationPermission {
public:
    enum class Status {
        granted,
        denied,
        undetermined,
        unknown
    };

    explicit AutomationPermission(DesktopIconHostFinder findHost);

    // granted while a desktop host with a position store runs, unknown otherwise.
    Status finderStatus() const;
    // There is no consent prompt to provoke: nothing happens.
    void request();

private:
    DesktopIconHostFinder m_findHost;
};

} // namespace quorvane
