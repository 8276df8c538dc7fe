// Starts a program and prints, in milliseconds, the time from its exec to the
// mapping of its first top-level window, and its resident memory then in KiB:
//   mirvane-startup-timer <program> [arguments...]
// The program is ended once its window is mapped. Needs an X server without a
// window manager (Xvfb), where top-level windows are the root's children.

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int TimeoutMs = 20000;

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [arguments...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X server\n");
        return 2;
    }
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t *)> closing(
        connection, xcb_disconnect);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    if (child < 0)
        return 2;

    int result = 1;
    pollfd events { xcb_get_file_descriptor(connection), POLLIN, 0 };
    while (result == 1) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            if (waited.count() > TimeoutMs || poll(&events, 1, TimeoutMs) <= 0) {
                std::fprintf(stderr, "no window mapped\n");
                break;
            }
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (!map->override_redirect) {
                const std::chrono::duration<double, std::milli> elapsed
                    = std::chrono::steady_clock::now() - start;
                std::printf("%.1f %ld\n", elapsed.count(), residentKiB(child));
                result = 0;
            }
        }
        std::free(event);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return result;
}
