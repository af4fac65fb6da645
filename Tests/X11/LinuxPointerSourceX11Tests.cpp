#include "Windows/PointerSource.h"

#include "X11Support.h"

#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// A warp puts the pointer somewhere without any device moving; a relative move goes through
// the server's test device, as a mouse's movement does.
bool warpTo(int x, int y)
{
    return run("xdotool", {"mousemove", QString::number(x), QString::number(y)});
}

bool moveBy(int dx, int dy)
{
    return run("xdotool", {"mousemove_relative", "--", QString::number(dx), QString::number(dy)});
}

} // namespace

TEST(LinuxPointerSourceX11, AMovedPointerIsNotifiedAndAPointerAtRestIsNot)
{
    LinuxPointerSource source;
    ASSERT_TRUE(warpTo(100, 100));
    int changes = 0;
    std::optional<PointerSource::State> seen;
    ASSERT_TRUE(source.notifyChanges([&] {
        ++changes;
        seen = source.read();
    }));
    serveFor(300);
    EXPECT_EQ(changes, 0);

    ASSERT_TRUE(moveBy(-97, -95));
    ASSERT_TRUE(waitUntil([&] { return seen && seen->position == QPointF(3, 5); }));
    const int afterMove = changes;
    serveFor(300);
    EXPECT_EQ(changes, afterMove);

    // Stopped from inside its own handler, as a watcher switched off by a change does.
    source.notifyChanges([&] {
        ++changes;
        source.notifyChanges({});
    });
    ASSERT_TRUE(moveBy(10, 10));
    ASSERT_TRUE(waitUntil([&] { return changes == afterMove + 1; }));
    ASSERT_TRUE(moveBy(10, 10));
    serveFor(300);
    EXPECT_EQ(changes, afterMove + 1);
}
