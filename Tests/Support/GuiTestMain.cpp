#include "GuiProcessEnvironment.h"
#include "Work/HostWork.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    quorvane::test::isolateGuiProcessEnvironment();
    QApplication app(argc, argv);
    // What is asked of the desktop's tools has landed by the time a test looks; the tests of
    // the work away from the event loop turn it on themselves.
    quorvane::HostWork::setInline(true);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
