// These run on a real X display (the X11 test run under Xvfb); elsewhere they skip.
#include "Wait.h"
#include "Windows/CompositorProbe.h"
#include "Windows/WindowFader.h"
#include "Windows/WindowLevel.h"
#include "Windows/X11Connection.h"

#include <xcb/shape.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

using namespace quorvane;

namespace {

struct X11Test : ::testing::Test {
    void SetUp() override
    {
        if (!x11::connection())
            GTEST_SKIP() << "needs an X display";
    }

    static std::vector<xcb_atom_t> atoms(QWidget &window, const char *property)
    {
        xcb_connection_t *c = x11::connection();
        auto *reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, xcb_window_t(window.winId()), x11::atom(property), XCB_ATOM_ATOM, 0, 64), nullptr);
        std::vector<xcb_atom_t> result;
        if (reply) {
            const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
            result.assign(data, data + xcb_get_property_value_length(reply) / 4);
            std::free(reply);
        }
        return result;
    }
    static std::optional<uint32_t> cardinal(QWidget &window, const char *property)
    {
        xcb_connection_t *c = x11::connection();
        auto *reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, xcb_window_t(window.winId()), x11::atom(property), XCB_ATOM_CARDINAL, 0, 1),
            nullptr);
        std::optional<uint32_t> value;
        if (reply && xcb_get_property_value_length(reply) == 4)
            value = *static_cast<const uint32_t *>(xcb_get_property_value(reply));
        std::free(reply);
        return value;
    }
    static bool has(const std::vector<xcb_atom_t> &list, const char *name)
    {
        return std::find(list.begin(), list.end(), x11::atom(name)) != list.end();
    }
    static bool overrideRedirect(QWidget &window)
    {
        xcb_connection_t *c = x11::connection();
        auto *reply = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, xcb_window_t(window.winId())), nullptr);
        const bool result = reply && reply->override_redirect;
        std::free(reply);
        return result;
    }
};

} // namespace

TEST_F(X11Test, EachLevelGivesItsTypeAndStatesOnEveryWorkspace)
{
    struct Case {
        WindowLevel level;
        const char *type;
        const char *stacking;
    } cases[] = {
        {WindowLevel::desktop, "_NET_WM_WINDOW_TYPE_DESKTOP", "_NET_WM_STATE_BELOW"},
        {WindowLevel::aboveIcons, "_NET_WM_WINDOW_TYPE_DOCK", "_NET_WM_STATE_BELOW"},
        {WindowLevel::floating, "_NET_WM_WINDOW_TYPE_DOCK", "_NET_WM_STATE_ABOVE"},
    };
    for (const Case &c : cases) {
        QWidget window;
        applyWindowLevel(&window, c.level);
        window.setGeometry(0, 0, 200, 100);
        quorvane::setWindowOpacity(&window, 0.4);
        window.show();
        x11::sync();
        EXPECT_EQ(atoms(window, "_NET_WM_WINDOW_TYPE"), std::vector<xcb_atom_t>{x11::atom(c.type)}) << c.type;
        const auto states = atoms(window, "_NET_WM_STATE");
        for (const char *state : {"_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", c.stacking})
            EXPECT_TRUE(has(states, state)) << c.type << " " << state;
        EXPECT_EQ(cardinal(window, "_NET_WM_DESKTOP"), 0xFFFFFFFFu);
        EXPECT_EQ(cardinal(window, "_NET_WM_WINDOW_OPACITY"), uint32_t(std::llround(0.4 * 0xFFFFFFFFu)));
        EXPECT_FALSE(overrideRedirect(window));
    }

    QWidget panel;
    applyWindowLevel(&panel, WindowLevel::status);
    panel.setGeometry(0, 0, 200, 100);
    panel.show();
    x11::sync();
    EXPECT_TRUE(overrideRedirect(panel)); // the window manager does not manage it
    EXPECT_EQ(atoms(panel, "_NET_WM_WINDOW_TYPE"), std::vector<xcb_atom_t>{x11::atom("_NET_WM_WINDOW_TYPE_TOOLTIP")});

    QWidget calendar;
    applyWindowLevel(&calendar, WindowLevel::floating, {.clickThrough = false, .focusable = true, .sticky = false});
    calendar.show();
    x11::sync();
    EXPECT_EQ(atoms(calendar, "_NET_WM_WINDOW_TYPE"), std::vector<xcb_atom_t>{x11::atom("_NET_WM_WINDOW_TYPE_UTILITY")});
    EXPECT_FALSE(has(atoms(calendar, "_NET_WM_STATE"), "_NET_WM_STATE_STICKY"));
}

TEST_F(X11Test, AClickThroughWindowTakesNoInputOnceMapped)
{
    xcb_connection_t *c = x11::connection();
    // The number of rectangles of the mapped window's input region; none for an unshaped one.
    const auto inputRectangles = [c](QWidget &window) -> std::optional<int> {
        auto *reply = xcb_shape_get_rectangles_reply(
            c, xcb_shape_get_rectangles(c, xcb_window_t(window.winId()), XCB_SHAPE_SK_INPUT), nullptr);
        if (!reply)
            return std::nullopt;
        const int count = xcb_shape_get_rectangles_rectangles_length(reply);
        std::free(reply);
        return count;
    };
    const auto mapped = [c](QWidget &window) {
        auto *reply = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, xcb_window_t(window.winId())), nullptr);
        const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(reply);
        return viewable;
    };
    const auto showMapped = [&](QWidget &window) {
        window.setGeometry(0, 0, 200, 100);
        window.show();
        test::waitUntil([&] { return mapped(window); }, 1000);
        x11::sync();
        return mapped(window);
    };
    QWidget band;
    applyWindowLevel(&band, WindowLevel::desktop);
    ASSERT_TRUE(showMapped(band));
    EXPECT_EQ(inputRectangles(band), 0);

    // Whatever a window's flags say, emptying the region of the mapped window takes its input.
    QWidget dock;
    applyWindowLevel(&dock, WindowLevel::floating, {.clickThrough = false, .focusable = true, .sticky = false});
    ASSERT_TRUE(showMapped(dock));
    EXPECT_EQ(inputRectangles(dock), 1); // the whole window
    clearInputRegion(&dock);
    x11::sync();
    EXPECT_EQ(inputRectangles(dock), 0);
}

// A plain window opened from another is its transient, as a dialog would be. Opened from
// nothing, it stands alone.
TEST_F(X11Test, AWindowOpenedFromAnotherIsItsTransient)
{
    xcb_connection_t *c = x11::connection();
    const auto transientFor = [c](QWidget &window) -> std::optional<xcb_window_t> {
        auto *reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, xcb_window_t(window.winId()), XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        std::optional<xcb_window_t> owner;
        if (reply && xcb_get_property_value_length(reply) == 4)
            owner = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
        std::free(reply);
        return owner;
    };
    QWidget settings;
    auto *button = new QWidget(&settings); // what the user clicked: its window is the owner
    settings.resize(300, 200);
    settings.show();
    QWidget sheet(nullptr, Qt::FramelessWindowHint);
    sheet.resize(100, 100);
    sheet.show();
    setTransientFor(&sheet, button);
    x11::sync();
    EXPECT_EQ(transientFor(sheet), std::optional<xcb_window_t>(xcb_window_t(settings.winId())));
    EXPECT_EQ(sheet.windowHandle()->transientParent(), settings.windowHandle());
    sheet.hide();
    sheet.show();
    setTransientFor(&sheet, nullptr);
    x11::sync();
    EXPECT_EQ(transientFor(sheet), std::nullopt);
}

TEST_F(X11Test, TheProbeSeesACompositingManagerComeAndGo)
{
    if (QStandardPaths::findExecutable("xcompmgr").isEmpty())
        GTEST_SKIP() << "no xcompmgr";
    LinuxCompositorProbe probe;
    ASSERT_FALSE(probe.compositing()) << "a compositing manager already runs on this display";
    int told = 0;
    probe.setOnChange([&] { ++told; });
    QProcess manager;
    manager.start("xcompmgr", {});
    ASSERT_TRUE(manager.waitForStarted());
    // Told without being asked, once a change: the selection's new owner arrives as an event.
    EXPECT_TRUE(test::waitUntil([&] { return told >= 1; }));
    EXPECT_TRUE(probe.compositing());
    manager.terminate();
    manager.waitForFinished();
    EXPECT_TRUE(test::waitUntil([&] { return told >= 2; }));
    EXPECT_FALSE(probe.compositing());
    test::serveFor(100);
    EXPECT_EQ(told, 2);
    probe.setOnChange({});
}

TEST_F(X11Test, TheFaderSetsTheOpacityPropertyWhileTheMainThreadIsBlocked)
{
    QWidget window;
    window.setGeometry(0, 0, 100, 80);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The property as the server holds it, read without serving any event (-1 while unset).
    const auto opacity = [&] {
        const auto value = cardinal(window, "_NET_WM_WINDOW_OPACITY");
        return value ? *value / 4294967295.0 : -1.0;
    };
    // Polls, the main thread never serving an event, until the opacity holds; the last value read.
    const auto blockedUntil = [&](const std::function<bool(double)> &holds) {
        QDeadlineTimer limit(5000 * test::slowness());
        double value = opacity();
        while (!holds(value) && !limit.hasExpired()) {
            QThread::msleep(5);
            value = opacity();
        }
        return value;
    };
    X11WindowFader fader;
    fader.start({window.winId()}, 0, 0.5, 1, [](double p) { return p; });
    const double midway = blockedUntil([](double o) { return o > 0 && o < 0.5; });
    EXPECT_GT(midway, 0);
    EXPECT_LT(midway, 0.5);
    blockedUntil([](double o) { return o >= 0.5; });
    EXPECT_EQ(cardinal(window, "_NET_WM_WINDOW_OPACITY"), 2147483648u); // the end, as Qt writes 0.5
    EXPECT_DOUBLE_EQ(fader.stop(), 0.5);

    // Stopped half-way, it tells where it was and writes nothing more.
    fader.start({window.winId()}, 0, 1, 10, [](double p) { return p; });
    blockedUntil([](double o) { return o > 0 && o < 0.5; });
    const double reached = fader.stop();
    EXPECT_GT(reached, 0);
    EXPECT_LT(reached, 1);
    const auto stopped = cardinal(window, "_NET_WM_WINDOW_OPACITY");
    QThread::msleep(100);
    EXPECT_EQ(cardinal(window, "_NET_WM_WINDOW_OPACITY"), stopped);
    EXPECT_NEAR(*stopped / 4294967295.0, reached, 1e-6);
}
