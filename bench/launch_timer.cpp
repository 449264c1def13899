// launch_timer TITLE PROGRAM [ARGS...]: starts PROGRAM and prints the milliseconds until a window
// whose name contains TITLE is mapped, and the program's peak memory in KiB a second later.
// It waits on the X server's map events, so it takes no processor time from the program while
// it starts (polling with another program each few milliseconds would).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

bool Named(Display* display, Window window, const char* title) {
    XTextProperty name{};
    if (XGetWMName(display, window, &name) == 0 || name.value == nullptr) return false;
    const std::string text(reinterpret_cast<const char*>(name.value), name.nitems);
    XFree(name.value);
    return text.find(title) != std::string::npos;
}

long PeakKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: launch_timer TITLE PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    bool shown = false;
    while (!shown) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) shown = Named(display, event.xmap.window, argv[1]);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long peak = PeakKiB(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    std::printf("%.1f %ld\n", ms, peak);
    return 0;
}
