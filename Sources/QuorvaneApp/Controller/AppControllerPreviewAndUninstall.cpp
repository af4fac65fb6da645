// The settings model's request to uninstall.
#include "Controller/AppController.h"

namespace quorvane {

void AppController::uninstallRequested()
{
}

} // namespace quorvane
