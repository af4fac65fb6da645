// The settings model's request to preview the switch transition.
#include "Controller/AppController.h"

namespace quorvane {

void AppController::previewSwitchTransition()
{
}

} // namespace quorvane
