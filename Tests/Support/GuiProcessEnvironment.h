#pragma once

#include "TestEnvironment.h"

#include <QtGlobal>

namespace quorvane::test {

// isolateProcessEnvironment(), and windows drawn off screen unless QT_QPA_PLATFORM names a
// platform. Called once from the main of a program that shows widgets.
inline void isolateGuiProcessEnvironment()
{
    isolateProcessEnvironment();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace quorvane::test
