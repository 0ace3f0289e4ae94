// Starts a program under X and prints the milliseconds from launch to the map of its first
// top-level window and to the first paint in it (the first damage the X server reports), then
// its resident memory a second later: a start-up measurement to the millisecond, where polling
// for the window would only see it half a second late, and where work put off until after the
// map still counts.
//
// Usage: bitwatch_map_timer [--no-memory] PROGRAM [ARGUMENTS...]
// With --no-memory it ends the program at its first paint and prints 0 for the memory: launches
// follow each other closely, without a second's pause between them.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include "resident_memory.h"

int main(int argc, char* argv[]) {
    const bool memory = argc < 2 || std::strcmp(argv[1], "--no-memory") != 0;
    char** const program = argv + (memory ? 1 : 2);
    if (*program == nullptr) {
        std::fprintf(stderr, "usage: %s [--no-memory] PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "%s: no X display\n", argv[0]);
        return 1;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) {
        std::fprintf(stderr, "%s: the X server has no DAMAGE extension\n", argv[0]);
        return 1;
    }
    std::free(xcb_damage_query_version_reply(
        connection,
        xcb_damage_query_version(connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    const pid_t child = fork();
    if (child == 0) {
        execvp(program[0], program);
        std::perror("execvp");
        std::_Exit(127);
    }
    double mapped = -1;
    double painted = -1;
    while (painted < 0) {
        xcb_generic_event_t* event = xcb_wait_for_event(connection);
        if (event == nullptr) {
            break;
        }
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        const unsigned type = event->response_type & 0x7FU;
        if (type == XCB_CREATE_NOTIFY) {
            // Every top-level window is watched from its creation: which one is shown first is
            // known only at the map.
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            xcb_damage_create(connection, xcb_generate_id(connection), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(connection);
        } else if (type == XCB_MAP_NOTIFY && mapped < 0) {
            mapped = elapsed();
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY && mapped >= 0) {
            painted = elapsed();
        }
    }
    long kib = 0;
    if (memory) {
        sleep(1);
        kib = bitwatch::bench::ResidentKiB(child);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    std::printf("%.1f %.1f %ld\n", mapped, painted, kib);
    return painted < 0 ? 1 : 0;
}
