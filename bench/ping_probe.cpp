// ping_probe WINDOW SECONDS: how long a window's event loop is held, seen from outside. Sends the
// window manager's ping (_NET_WM_PING) every 10 ms for SECONDS and prints the longest and the
// median wait for its answer in milliseconds, and how many pings got none. Qt answers a ping
// on its window thread, so a wait is time that thread did not come back to its events.
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point then) {
    return std::chrono::duration<double, std::milli>(Clock::now() - then).count();
}

void Ping(Display* display, Window window, Atom protocols, Atom ping, long serial) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(ping);
    event.xclient.data.l[1] = serial;  // echoed back: it tells the answers apart
    event.xclient.data.l[2] = long(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: ping_probe WINDOW SECONDS\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    const Window window = Window(std::strtoul(argv[1], nullptr, 0));
    const double seconds = std::atof(argv[2]);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    // Qt answers to the root with the structure-notify mask.
    XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask);

    std::map<long, Clock::time_point> waiting;
    std::vector<double> waits;
    const Clock::time_point start = Clock::now();
    Clock::time_point next = start;
    long serial = 1;
    // The last pings get a moment to be answered.
    while (MsSince(start) < seconds * 1000 + 300) {
        if (Clock::now() >= next && MsSince(start) < seconds * 1000) {
            waiting[serial] = Clock::now();
            Ping(display, window, protocols, ping, serial++);
            next += std::chrono::milliseconds(10);
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        if (XPending(display) == 0) poll(&fd, 1, 2);
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != ClientMessage || long(event.xclient.data.l[0]) != long(ping))
                continue;
            const auto sent = waiting.find(event.xclient.data.l[1]);
            if (sent == waiting.end()) continue;
            waits.push_back(MsSince(sent->second));
            waiting.erase(sent);
        }
    }
    // A ping still unanswered has waited at least this long.
    for (const auto& [id, sent] : waiting)
        waits.push_back(MsSince(sent));
    if (waits.empty()) return 1;
    std::sort(waits.begin(), waits.end());
    std::printf("longest %.1f ms, median %.1f ms, unanswered %zu of %zu\n", waits.back(),
                waits[waits.size() / 2], waiting.size(), waits.size());
    return 0;
}
