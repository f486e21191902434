// Starts a program on the X display in $DISPLAY and watches it from outside, without any help from
// the program: the time from exec until its window is created, mapped and first painted (the
// X server's first damage report for the window's contents), and its peak resident memory at
// that paint and after a settling time.
//
// Usage: first_paint SETTLE_MS PROGRAM [ARGUMENTS...]
// Prints one line: created_ms mapped_ms painted_ms hwm_at_paint_kib hwm_settled_kib rss_settled_kib
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Smaller windows are the toolkit's helpers and the tray icon, not the main window.
constexpr int min_side = 100;
constexpr auto give_up_after = std::chrono::seconds(20);

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long status_kib(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

struct Watch {
    double created = -1, mapped = -1, painted = -1;
    long hwm_at_paint = -1;
};

class Display {
public:
    Display() : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_setup_t* setup = xcb_get_setup(m_connection);
        m_root = xcb_setup_roots_iterator(setup).data->root;
        m_id_mask = setup->resource_id_mask;
        auto* damage = xcb_damage_query_version_reply(
            m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr);
        const xcb_query_extension_reply_t* extension = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !extension || !extension->present) {
            std::free(damage);
            return;
        }
        std::free(damage);
        m_damage_notify = extension->first_event + XCB_DAMAGE_NOTIFY;
        remember_present_clients();
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ok = true;
    }
    ~Display() { xcb_disconnect(m_connection); }

    [[nodiscard]] bool ok() const { return m_ok; }

    // Follows the first large top-level window of a client that was not there before, until
    // its first paint or the time runs out.
    [[nodiscard]] Watch watch(Clock::time_point start, pid_t pid)
    {
        Watch result;
        pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        while (result.painted < 0 && Clock::now() - start < give_up_after) {
            ::poll(&fd, 1, 50);
            while (auto* event = xcb_poll_for_event(m_connection)) {
                take(event, start, pid, result);
                std::free(event);
            }
            if (xcb_connection_has_error(m_connection))
                break;
        }
        return result;
    }

private:
    // The window manager's and the panel's windows, so that their frames are never taken for
    // the program's window.
    void remember_present_clients()
    {
        auto* tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
        if (!tree)
            return;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
            m_old_clients.insert(children[i] & ~m_id_mask);
        std::free(tree);
    }

    void take(xcb_generic_event_t* event, Clock::time_point start, pid_t pid, Watch& result)
    {
        const int type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY && m_window == XCB_NONE)
            follow(reinterpret_cast<xcb_create_notify_event_t*>(event), start, result);
        else if (type == XCB_MAP_NOTIFY && result.mapped < 0
                 && reinterpret_cast<xcb_map_notify_event_t*>(event)->window == m_window)
            result.mapped = ms_since(start);
        else if (type == m_damage_notify
                 && reinterpret_cast<xcb_damage_notify_event_t*>(event)->drawable == m_window) {
            result.painted = ms_since(start);
            result.hwm_at_paint = status_kib(pid, "VmHWM");
        }
    }

    void follow(const xcb_create_notify_event_t* created, Clock::time_point start, Watch& result)
    {
        if (created->parent != m_root || created->override_redirect || created->width < min_side
            || created->height < min_side || m_old_clients.count(created->window & ~m_id_mask))
            return;
        m_window = created->window;
        result.created = ms_since(start);
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_window, XCB_CW_EVENT_MASK, &mask);
        xcb_damage_create(m_connection, xcb_generate_id(m_connection), m_window,
                          XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
        xcb_flush(m_connection);
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_NONE;
    xcb_window_t m_window = XCB_NONE;
    uint32_t m_id_mask = 0;
    int m_damage_notify = -1;
    std::set<uint32_t> m_old_clients;
    bool m_ok = false;
};

}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: first_paint SETTLE_MS PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    const auto settle = std::chrono::milliseconds(std::atoi(argv[1]));
    Display display;
    if (!display.ok()) {
        std::fputs("no X display with the DAMAGE extension in $DISPLAY\n", stderr);
        return 1;
    }
    pid_t pid = -1;
    const Clock::time_point start = Clock::now();
    if (::posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::perror("posix_spawn");
        return 1;
    }
    const Watch watch = display.watch(start, pid);
    std::this_thread::sleep_for(settle);
    const long hwm_settled = status_kib(pid, "VmHWM");
    const long rss_settled = status_kib(pid, "VmRSS");
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    if (watch.painted < 0) {
        std::fputs("the window was not painted in time\n", stderr);
        return 1;
    }
    std::printf("%.1f %.1f %.1f %ld %ld %ld\n", watch.created, watch.mapped, watch.painted,
                watch.hwm_at_paint, hwm_settled, rss_settled);
    return 0;
}
