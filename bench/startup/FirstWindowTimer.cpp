// Starts a program and reports the time from just before its start to the first top-level
// window mapped on the X display, and the program's peak memory (the maximum resident set
// size that wait4 reports, the figure /usr/bin/time -v prints). The program is killed a
// settling time after its window maps, so that work it defers past the window still counts
// in its peak memory.
//
//   first_window_timer [--settle MS] [--timeout MS] PROGRAM [ARGUMENTS...]
//
// Prints "window_ms=<milliseconds> peak_rss_kb=<kilobytes>", or exits 1 when no window
// mapped in time.
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
double Milliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Waits for the first MapNotify of a child of the root window; false on timeout.
bool WaitForMap(Display* display, double deadline)
{
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display))
                return true;
        }
        const double left = deadline - Milliseconds();
        if (left <= 0)
            return false;
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, static_cast<int>(left) + 1);
    }
}
} // namespace

int main(int argc, char* argv[])
{
    int settleMs = 500;
    int timeoutMs = 20000;
    int first = 1;
    while (first + 1 < argc && argv[first][0] == '-') {
        if (std::strcmp(argv[first], "--settle") == 0)
            settleMs = std::atoi(argv[first + 1]);
        else if (std::strcmp(argv[first], "--timeout") == 0)
            timeoutMs = std::atoi(argv[first + 1]);
        else
            break;
        first += 2;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [--settle MS] [--timeout MS] PROGRAM [ARGUMENTS...]\n",
                     argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = Milliseconds();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        std::perror("exec");
        _exit(127);
    }
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    const bool mapped = WaitForMap(display, start + timeoutMs);
    const double windowMs = Milliseconds() - start;
    if (mapped)
        usleep(static_cast<useconds_t>(settleMs) * 1000);
    kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    XCloseDisplay(display);
    if (!mapped) {
        std::fprintf(stderr, "no window mapped within %d ms\n", timeoutMs);
        return 1;
    }
    std::printf("window_ms=%.3f peak_rss_kb=%ld\n", windowMs, usage.ru_maxrss);
    return 0;
}
