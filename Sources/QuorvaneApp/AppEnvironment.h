#pragma once

#include "AppInfo.h"
#include "Paths.h"

#include <functional>
#include <memory>

namespace quorvane {

class ActivationPolicy;
class AlertPresenter;
class Scheduler;
class ScriptRunner;
class StatusItem;

// What the controller takes from outside: where it works, who it is, and the desktop services
// it talks to. main passes the Linux implementations; tests pass fakes rooted in a temporary
// home folder.
struct AppEnvironment {
    Paths paths;
    AppInfo info;
    std::function<std::shared_ptr<StatusItem>()> makeStatusItem;
    Scheduler *scheduler = nullptr;
    AlertPresenter *alerts = nullptr;
    ActivationPolicy *activation = nullptr;
    ScriptRunner *inProcessScripts = nullptr; // writes icon positions
    ScriptRunner *scriptTool = nullptr;       // reads them through a child process
};

} // namespace quorvane
