// SPDX-License-Identifier: MIT
// Starts a program on the current X display and reports how long it took
// from exec to the MapNotify of its first top-level window, and whether that
// window already had its shape when it was mapped. Repeats, then prints the
// median. Run it on a display of its own (no window manager: top-level
// windows are then children of the root, and nothing else maps).
//
//   startup_probe RUNS program [args...]
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <string>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <poll.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
double nowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

bool shaped(Display *dpy, Window w)
{
    Bool bounding = False, clip = False;
    int x, y, cx, cy;
    unsigned bw, bh, cw, ch;
    return XShapeQueryExtents(dpy, w, &bounding, &x, &y, &bw, &bh, &clip, &cx, &cy, &cw, &ch) && bounding;
}

// CPU time the process has used so far, all threads, from the scheduler's
// nanosecond counters: unlike wall time, barely moved by other load.
double cpuMs(pid_t pid)
{
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            std::ifstream in(dir + "/" + e->d_name + "/schedstat");
            double onCpu = 0;
            if (in >> onCpu)
                ns += onCpu;
        }
        closedir(d);
    }
    return ns / 1e6;
}

struct Start {
    double ms = -1;
    double cpuMs = 0;
    bool shapedAtMap = false;
};

// One start: fork, exec, wait for the first map of a new top-level window.
Start startOnce(Display *dpy, int shapeEvent, char **argv)
{
    Window root = DefaultRootWindow(dpy);
    XSync(dpy, True); // drop events left from an earlier run
    const double t0 = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    Start result;
    std::set<Window> shapedWindows; // ShapeNotify seen before their map
    const int fd = ConnectionNumber(dpy);
    while (result.ms < 0 && nowMs() - t0 < 20000) {
        while (XPending(dpy) && result.ms < 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == CreateNotify && ev.xcreatewindow.parent == root) {
                XShapeSelectInput(dpy, ev.xcreatewindow.window, ShapeNotifyMask);
                // Shaped between its creation and our request: count it too.
                if (shaped(dpy, ev.xcreatewindow.window))
                    shapedWindows.insert(ev.xcreatewindow.window);
            } else if (ev.type == shapeEvent) {
                const auto *se = reinterpret_cast<XShapeEvent *>(&ev);
                if (se->kind == ShapeBounding && se->shaped)
                    shapedWindows.insert(se->window);
            } else if (ev.type == MapNotify && ev.xmap.event == root && !ev.xmap.override_redirect) {
                result.ms = nowMs() - t0;
                result.cpuMs = cpuMs(pid);
                result.shapedAtMap = shapedWindows.count(ev.xmap.window) > 0;
            }
        }
        if (result.ms < 0) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 100);
            XEventsQueued(dpy, QueuedAfterReading);
        }
    }
    kill(pid, SIGTERM);
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return result;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS program [args...]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "startup_probe: no display\n");
        return 1;
    }
    int shapeEvent = 0, shapeError = 0;
    if (!XShapeQueryExtension(dpy, &shapeEvent, &shapeError)) {
        std::fprintf(stderr, "startup_probe: no SHAPE extension\n");
        return 1;
    }
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);

    std::vector<double> times, cpu;
    int shapedCount = 0;
    for (int i = 0; i < runs; ++i) {
        const Start s = startOnce(dpy, shapeEvent + ShapeNotify, argv + 2);
        if (s.ms < 0) {
            std::fprintf(stderr, "startup_probe: run %d: no window within 20 s\n", i + 1);
            return 1;
        }
        times.push_back(s.ms);
        cpu.push_back(s.cpuMs);
        shapedCount += s.shapedAtMap;
        usleep(200 * 1000); // let the killed process's server resources go
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    };
    std::printf("median_ms %.1f min_ms %.1f max_ms %.1f cpu_median_ms %.1f shaped_at_map %d/%d\n",
                median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()), median(cpu), shapedCount, runs);
    XCloseDisplay(dpy);
    return 0;
}
