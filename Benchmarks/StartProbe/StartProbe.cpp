// How long a tray application takes from its start to its icon docked in the tray host's
// panel, and how much memory it holds once it has settled, seen from outside on the X display.
//   quorvane-start-probe [--settle SECONDS] [--timeout SECONDS] INSTANCE COMMAND [ARGUMENT...]
// starts COMMAND, watches the root window for the moment a window of WM_CLASS instance INSTANCE
// is reparented into a window titled or classed "panel" and mapped there, waits SECONDS more
// (default 3), then prints one line
//   docked_ms MS rss_kb KB
// and ends the command with SIGTERM. The moment is taken from the X server's own events, not from
// polling, so a start of 20 ms is seen to the millisecond. Exits 1 when the icon never docked
// (or the command ended first), 2 on a usage error or without a display.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> own(T *reply)
{
    return Reply<T>(reply, &std::free);
}

std::string property(xcb_connection_t *c, xcb_window_t w, xcb_atom_t name)
{
    const auto reply = own(xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, XCB_ATOM_STRING, 0, 256), nullptr));
    if (!reply)
        return {};
    return std::string(static_cast<const char *>(xcb_get_property_value(reply.get())),
                       size_t(xcb_get_property_value_length(reply.get())));
}

// The WM_CLASS instance (its first string).
std::string instanceOf(xcb_connection_t *c, xcb_window_t w)
{
    return property(c, w, XCB_ATOM_WM_CLASS).c_str();
}

bool isPanel(xcb_connection_t *c, xcb_window_t w)
{
    const std::string wmClass = property(c, w, XCB_ATOM_WM_CLASS);
    const std::string instance = wmClass.c_str();
    const std::string className = instance.size() + 1 < wmClass.size() ? wmClass.c_str() + instance.size() + 1 : "";
    return property(c, w, XCB_ATOM_WM_NAME) == "panel" || instance == "panel" || className == "panel";
}

// Whether w is a panel or lies inside one.
bool inPanel(xcb_connection_t *c, xcb_window_t w, xcb_window_t root)
{
    for (xcb_window_t at = w; at != XCB_WINDOW_NONE && at != root;) {
        if (isPanel(c, at))
            return true;
        const auto tree = own(xcb_query_tree_reply(c, xcb_query_tree(c, at), nullptr));
        if (!tree)
            return false;
        at = tree->parent;
    }
    return false;
}

bool isViewable(xcb_connection_t *c, xcb_window_t w)
{
    const auto reply = own(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = -1;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

bool ended(pid_t pid)
{
    int status = 0;
    return ::waitpid(pid, &status, WNOHANG) == pid;
}

int usage()
{
    std::fprintf(stderr, "usage: quorvane-start-probe [--settle SECONDS] [--timeout SECONDS] INSTANCE COMMAND [ARGUMENT...]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    double settle = 3, timeout = 60;
    int at = 1;
    for (; at + 1 < argc && std::strncmp(argv[at], "--", 2) == 0; at += 2) {
        if (std::strcmp(argv[at], "--settle") == 0)
            settle = std::atof(argv[at + 1]);
        else if (std::strcmp(argv[at], "--timeout") == 0)
            timeout = std::atof(argv[at + 1]);
        else
            return usage();
    }
    if (argc - at < 2)
        return usage();
    const std::string instance = argv[at];
    char **command = argv + at + 1;

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "quorvane-start-probe: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // Windows made on the root, and windows leaving it, are told here.
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_flush(c);
    xcb_get_input_focus_reply_t *sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    std::free(sync);

    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0)
        return 2;
    if (pid == 0) {
        ::execvp(command[0], command);
        std::perror("quorvane-start-probe: exec");
        ::_exit(127);
    }

    const Clock::time_point limit = start + std::chrono::milliseconds(long(timeout * 1000));
    std::set<xcb_window_t> docked; // reparented into the panel, waiting to be mapped there
    double dockedMs = -1;
    while (dockedMs < 0) {
        if (ended(pid)) {
            std::fprintf(stderr, "quorvane-start-probe: the command ended before its icon docked\n");
            return 1;
        }
        xcb_generic_event_t *event = xcb_poll_for_event(c);
        if (!event) {
            if (xcb_connection_has_error(c) || Clock::now() >= limit)
                break;
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            ::poll(&fd, 1, 20);
            continue;
        }
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // Its own reparenting and mapping are told to whoever watches the window.
            const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(c, created->window, XCB_CW_EVENT_MASK, &mask);
            xcb_flush(c);
        } else if (type == XCB_REPARENT_NOTIFY) {
            const auto *moved = reinterpret_cast<xcb_reparent_notify_event_t *>(event);
            if (moved->parent != root && !docked.count(moved->window) && instanceOf(c, moved->window) == instance
                && inPanel(c, moved->parent, root)) {
                docked.insert(moved->window);
                if (isViewable(c, moved->window))
                    dockedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
        } else if (type == XCB_MAP_NOTIFY) {
            const auto *mapped = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (docked.count(mapped->window))
                dockedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
        std::free(event);
    }
    if (dockedMs < 0) {
        std::fprintf(stderr, "quorvane-start-probe: the icon did not dock within %.0f s\n", timeout);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(long(settle * 1000)));
    const long rss = residentKb(pid);
    std::printf("docked_ms %.1f rss_kb %ld\n", dockedMs, rss);
    std::fflush(stdout);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    xcb_disconnect(c);
    return 0;
}
