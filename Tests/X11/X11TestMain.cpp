// The X11 facilities on a display of their own (run by run_on_xvfb.sh): without a display the
// whole binary is skipped.
#include "TestEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("SKIP: no X display");
        return 77;
    }
    quorvane::test::isolateProcessEnvironment();
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
