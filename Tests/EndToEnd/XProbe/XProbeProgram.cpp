// What the end-to-end tests ask of the X display many times a second, answered by one small
// program instead of a pipeline of xwininfo, grep, awk and sed (each start costs milliseconds on
// a busy machine, and a wait starts them every tenth of a second).
//   quorvane-x-probe tray-icon        prints "ID VIEWABLE WIDTH HEIGHT X Y" of the application's
//                                     icon in the tray host's panel (X Y in root coordinates);
//                                     fails when there is none
//   quorvane-x-probe tray-icon-settled SECONDS  the same, once the icon is viewable, at least
//                                     8 pixels wide and at the same place on two looks 0.1 s
//                                     apart; fails after SECONDS
//   quorvane-x-probe tray-icon-or-ended SECONDS PID  waits until the icon is in the panel or
//                                     process PID has ended; fails after SECONDS
//   quorvane-x-probe app-windows      the ids of the application's viewable windows, one a line
//   quorvane-x-probe selection-owned NAME  succeeds when selection NAME has an owner
//   quorvane-x-probe root-properties NAME...  succeeds when the root window has every property
// Ids are printed as xwininfo prints them (0x-hex).
#include <xcb/xcb.h>

#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> own(T *reply)
{
    return Reply<T>(reply, &std::free);
}

struct Window {
    xcb_window_t id = 0;
    std::string name;
    std::string instance;
    std::string windowClass;
};

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const auto reply = own(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::string value(xcb_get_property_reply_t *reply)
{
    if (!reply)
        return {};
    return std::string(static_cast<const char *>(xcb_get_property_value(reply)),
                       size_t(xcb_get_property_value_length(reply)));
}

// Every window below the root, parents before their children, with its title and class; each
// level's requests go out together, so a look costs a few round trips however many windows.
std::vector<Window> windowTree(xcb_connection_t *c, xcb_window_t root)
{
    static const xcb_atom_t netName = atom(c, "_NET_WM_NAME");
    static const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    std::vector<Window> all;
    std::vector<xcb_window_t> level{root};
    while (!level.empty()) {
        std::vector<xcb_query_tree_cookie_t> trees;
        for (const xcb_window_t w : level)
            trees.push_back(xcb_query_tree(c, w));
        std::vector<xcb_window_t> next;
        for (const auto cookie : trees) {
            const auto tree = own(xcb_query_tree_reply(c, cookie, nullptr));
            if (!tree)
                continue; // gone since its parent was asked
            const xcb_window_t *children = xcb_query_tree_children(tree.get());
            next.insert(next.end(), children, children + xcb_query_tree_children_length(tree.get()));
        }
        struct Asked {
            xcb_get_property_cookie_t netName, name, wmClass;
        };
        std::vector<Asked> asked;
        for (const xcb_window_t w : next)
            asked.push_back({xcb_get_property(c, 0, w, netName, utf8, 0, 256),
                             xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 0, 256),
                             xcb_get_property(c, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256)});
        for (size_t i = 0; i < next.size(); ++i) {
            Window window{next[i], value(own(xcb_get_property_reply(c, asked[i].netName, nullptr)).get()), {}, {}};
            const std::string plainName = value(own(xcb_get_property_reply(c, asked[i].name, nullptr)).get());
            if (window.name.empty())
                window.name = plainName;
            const std::string wmClass = value(own(xcb_get_property_reply(c, asked[i].wmClass, nullptr)).get());
            window.instance = wmClass.c_str();
            if (window.instance.size() + 1 < wmClass.size())
                window.windowClass = wmClass.c_str() + window.instance.size() + 1;
            all.push_back(window);
        }
        level = std::move(next);
    }
    return all;
}

bool isViewable(xcb_connection_t *c, xcb_window_t w)
{
    const auto reply = own(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool isBelow(xcb_connection_t *c, xcb_window_t w, xcb_window_t ancestor)
{
    for (xcb_window_t at = w; at != XCB_WINDOW_NONE;) {
        const auto tree = own(xcb_query_tree_reply(c, xcb_query_tree(c, at), nullptr));
        if (!tree || tree->parent == XCB_WINDOW_NONE)
            return false;
        if (tree->parent == ancestor)
            return true;
        at = tree->parent;
    }
    return false;
}

// "ID VIEWABLE WIDTH HEIGHT X Y" of the application's icon in the tray host's panel (a window
// titled or classed "panel"), empty when there is none.
std::string trayIcon(xcb_connection_t *c, xcb_window_t root)
{
    const std::vector<Window> all = windowTree(c, root);
    for (const Window &panel : all) {
        if (panel.name != "panel" && panel.instance != "panel" && panel.windowClass != "panel")
            continue;
        for (const Window &icon : all) {
            if (icon.instance != "quorvane" || !isBelow(c, icon.id, panel.id))
                continue;
            const auto geometry = own(xcb_get_geometry_reply(c, xcb_get_geometry(c, icon.id), nullptr));
            const auto place = own(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, icon.id, root, 0, 0), nullptr));
            if (!geometry || !place)
                continue;
            char line[128];
            std::snprintf(line, sizeof line, "0x%x %d %u %u %d %d", icon.id, isViewable(c, icon.id) ? 1 : 0,
                          unsigned(geometry->width), unsigned(geometry->height), int(place->dst_x), int(place->dst_y));
            return line;
        }
    }
    return {};
}

// Whether the process has ended: gone, or a zombie its parent has not yet collected.
bool hasEnded(pid_t pid)
{
    if (::kill(pid, 0) != 0)
        return errno == ESRCH;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", int(pid));
    std::FILE *stat = std::fopen(path, "r");
    if (!stat)
        return true;
    char state = 0;
    // "PID (COMM) STATE ...": the name may hold spaces and parentheses, so the last ')' counts.
    char line[512] = {};
    const size_t read = std::fread(line, 1, sizeof line - 1, stat);
    std::fclose(stat);
    const char *end = std::strrchr(line, ')');
    if (read > 0 && end && end[1] == ' ')
        state = end[2];
    return state == 'Z' || state == 'X';
}

std::chrono::steady_clock::time_point after(const char *seconds)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(long(std::atof(seconds) * 1000));
}

int usage()
{
    std::fprintf(stderr, "usage: quorvane-x-probe tray-icon | tray-icon-settled SECONDS | tray-icon-or-ended SECONDS PID"
                         " | app-windows | selection-owned NAME | root-properties NAME...\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const std::string mode = argv[1];
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "quorvane-x-probe: no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    if (mode == "tray-icon" && argc == 2) {
        const std::string icon = trayIcon(c, root);
        if (icon.empty())
            return 1;
        std::printf("%s\n", icon.c_str());
        return 0;
    }
    if (mode == "tray-icon-settled" && argc == 3) {
        const auto limit = after(argv[2]);
        std::string seen;
        while (true) {
            const std::string icon = trayIcon(c, root);
            unsigned viewable = 0, width = 0;
            std::sscanf(icon.c_str(), "%*x %u %u", &viewable, &width);
            if (viewable == 1 && width >= 8 && icon == seen) {
                std::printf("%s\n", icon.c_str());
                return 0;
            }
            seen = viewable == 1 && width >= 8 ? icon : std::string();
            if (std::chrono::steady_clock::now() >= limit) {
                std::fprintf(stderr, "quorvane-x-probe: the icon did not settle: %s\n", icon.c_str());
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    if (mode == "tray-icon-or-ended" && argc == 4) {
        const auto limit = after(argv[2]);
        const pid_t pid = pid_t(std::atol(argv[3]));
        while (true) {
            if (hasEnded(pid) || !trayIcon(c, root).empty())
                return 0;
            if (std::chrono::steady_clock::now() >= limit)
                return 1;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    if (mode == "app-windows" && argc == 2) {
        for (const Window &w : windowTree(c, root))
            if (w.instance == "quorvane" && w.windowClass == "Quorvane" && isViewable(c, w.id))
                std::printf("0x%x\n", w.id);
        return 0;
    }
    if (mode == "selection-owned" && argc == 3) {
        const xcb_atom_t selection = atom(c, argv[2]);
        const auto reply = own(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
        return reply && reply->owner != XCB_WINDOW_NONE ? 0 : 1;
    }
    if (mode == "root-properties" && argc >= 3) {
        for (int i = 2; i < argc; ++i) {
            const auto reply = own(xcb_get_property_reply(
                c, xcb_get_property(c, 0, root, atom(c, argv[i]), XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr));
            if (!reply || reply->type == XCB_ATOM_NONE)
                return 1;
        }
        return 0;
    }
    return usage();
}
