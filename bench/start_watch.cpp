// The stopwatch of scripts/measure-start: starts a program and listens to
// the X server for the moment its window is mapped (shown), then, after three
// idle seconds, reads the program's resident memory and ends it. One quiet
// listener instead of polling with a new client every few milliseconds,
// which on a two-core machine took a core from the very start it measured.
//
// Usage: start-watch TITLE PROGRAM [ARGUMENT...]
// Prints "<milliseconds from start to shown> <resident KiB>". TITLE is the
// beginning of the window's title. Exit status 3: the program ended before
// its window showed (its own output says why); 4: no window in 30 seconds.
#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr double kLongestWaitMs = 30000;

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* x, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string textProperty(xcb_connection_t* x, xcb_window_t window, xcb_atom_t property)
{
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr),
        &std::free);
    if (!reply)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

long residentKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: start-watch TITLE PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const std::string title = argv[1];
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "start-watch: cannot connect to the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const xcb_atom_t netName = atom(x, "_NET_WM_NAME");
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so that the server listens before the program starts.
    if (std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
            xcb_request_check(x, xcb_change_window_attributes_checked(x, root, XCB_CW_EVENT_MASK, &mask)), &std::free);
        error) {
        std::fprintf(stderr, "start-watch: cannot listen to the root window\n");
        return 2;
    }

    const double start = nowMs();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "start-watch: cannot start %s\n", argv[2]);
        return 2;
    }
    double shown = -1;
    while (shown < 0) {
        pollfd watch{xcb_get_file_descriptor(x), POLLIN, 0};
        poll(&watch, 1, 20);
        while (std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event{xcb_poll_for_event(x), &std::free}) {
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY || shown >= 0)
                continue;
            const double at = nowMs();
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            std::string name = textProperty(x, map->window, netName);
            if (name.empty())
                name = textProperty(x, map->window, XCB_ATOM_WM_NAME);
            if (name.rfind(title, 0) == 0)
                shown = at;
        }
        if (xcb_connection_has_error(x)) {
            std::fprintf(stderr, "start-watch: lost the display\n");
            kill(pid, SIGTERM);
            return 2;
        }
        int status = 0;
        if (shown < 0 && waitpid(pid, &status, WNOHANG) == pid)
            return 3;
        if (shown < 0 && nowMs() - start > kLongestWaitMs) {
            std::fprintf(stderr, "start-watch: no window in %.0f s\n", kLongestWaitMs / 1e3);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return 4;
        }
    }
    sleep(3);
    const long kib = residentKib(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(x);
    std::printf("%.1f %ld\n", shown - start, kib);
    return 0;
}
