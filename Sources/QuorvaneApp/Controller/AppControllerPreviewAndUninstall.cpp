// The settings model's requests to preview the switch transition and to uninstall.
#include "Controller/AppController.h"

namespace quorvane {

void AppController::previewSwitchTransition()
{
}

void AppController::uninstallRequested()
{
}

} // namespace quorvane
