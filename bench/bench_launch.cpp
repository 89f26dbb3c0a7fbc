// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up as the user sees it: from the launch to the main window mapped on the X display,
// for Jotlark and for the bare program with the same window, run alternately.
// Usage (on a display without a window manager): bench_launch JOTLARK BARE [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

// Milliseconds from the launch to the first top-level window mapped.
double launch(xcb_connection_t* c, const char* program) {
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return -1;
    double ms = -1;
    while (xcb_generic_event_t* e = xcb_wait_for_event(c)) {
        const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                            !reinterpret_cast<xcb_map_notify_event_t*>(e)->override_redirect;
        std::free(e);
        if (mapped) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
            break;
        }
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return ms;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s JOTLARK BARE [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 20;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    std::vector<double> jot, bare, ratios;
    for (int i = 0; i < runs; ++i) {
        jot.push_back(launch(c, argv[1]));
        bare.push_back(launch(c, argv[2]));
        ratios.push_back(jot.back() / bare.back());
    }
    // Each pair ran back to back: the ratio within a pair rides out a load that changes during
    // the run, as it does on a shared machine.
    const double j = median(jot), b = median(bare);
    std::printf("launch to main window mapped, median of %d: Jotlark %.1f ms, bare %.1f ms, "
                "ratio %.2f, within pairs %.2f (target <= 1.15)\n",
                runs, j, b, j / b, median(ratios));
    return 0;
}
