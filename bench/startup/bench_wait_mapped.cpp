// Waits until a process has a window on the screen, exits 0 once it has seen it viewable (1 when
// the process is gone or 20 seconds have passed), and prints the moment the window went on the
// screen: wall-clock nanoseconds, as `date +%s%N` gives them.
//
// That moment is the X server's own: the time it stamped on the window manager's marking the
// window as shown (its WM_STATE), tied to the wall clock by a stamp taken at the start. Timing
// the waiter's own noticing instead would count against the program whatever delays the waiter,
// such as the program itself painting its new window on a busy processor. Where no such mark was
// seen, the moment is when the waiter saw the window.
//
// It listens for windows being mapped rather than asking the server over and over: walking the
// window tree every millisecond kept the server busy with the waiter's own requests just while
// the program being timed needed it. At each window mapped at the top or inside a window
// manager's frame, it looks for a viewable window whose _NET_WM_PID is the process; a look
// every 10 ms covers an event it could not see.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

Atom pidAtom = None;

bool HasPid(Display* display, Window window, unsigned long pid) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) != Success) {
        return false;
    }
    bool match = false;
    if (data != nullptr && type == XA_CARDINAL && format == 32 && count == 1) {
        match = *reinterpret_cast<unsigned long*>(data) == pid;
    }
    if (data != nullptr) {
        XFree(data);
    }
    return match;
}

// True when a window of the process lies in the tree below `parent` and can be seen; only
// the top levels and the window manager's frames around them are looked at.
bool FindViewable(Display* display, Window parent, unsigned long pid, int depth) {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) {
        return false;
    }
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        if (HasPid(display, children[i], pid)) {
            XWindowAttributes attributes;
            found = XGetWindowAttributes(display, children[i], &attributes) &&
                    attributes.map_state == IsViewable;
        } else if (depth < 3) {
            found = FindViewable(display, children[i], pid, depth + 1);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0; // a window that vanished while it was looked at
}

int64_t WallNanoseconds() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// The server's clock (milliseconds) and the wall clock at one moment: a property changed on a
// window of our own comes back stamped with the server's time.
struct ClockPair {
    Time server = 0;
    int64_t wall = 0;
};

ClockPair ReadServerClock(Display* display, Window root) {
    const Window probe = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display, probe, PropertyChangeMask);
    const Atom atom = XInternAtom(display, "_PELLINORAXIS_BENCH_CLOCK", False);
    const unsigned char data[4] = {};
    const int64_t before = WallNanoseconds();
    XChangeProperty(display, probe, atom, XA_INTEGER, 32, PropModeReplace, data, 1);
    XEvent event;
    XWindowEvent(display, probe, PropertyChangeMask, &event);
    const int64_t after = WallNanoseconds();
    XDestroyWindow(display, probe);
    return {event.xproperty.time, before + (after - before) / 2};
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PID\n", argv[0]);
        return 2;
    }
    const unsigned long pid = std::strtoul(argv[1], nullptr, 10);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const Window root = DefaultRootWindow(display);
    // Windows made at the top (the program's, and the frames a window manager puts them in)
    // and what is mapped there; inside each new one, what is mapped in it, and its properties.
    XSelectInput(display, root, SubstructureNotifyMask);
    const ClockPair start = ReadServerClock(display, root);

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    const auto interval = std::chrono::milliseconds(10);
    auto nextLook = Clock::now();
    bool marked = false;
    Time markedAt = 0;
    int result = 1;
    while (Clock::now() < deadline) {
        bool look = Clock::now() >= nextLook;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
                XSelectInput(display, event.xcreatewindow.window,
                             SubstructureNotifyMask | PropertyChangeMask);
            } else if (event.type == MapNotify) {
                look = true;
            } else if (event.type == PropertyNotify && event.xproperty.atom == wmState &&
                       event.xproperty.state == PropertyNewValue && !marked &&
                       HasPid(display, event.xproperty.window, pid)) {
                marked = true;
                markedAt = event.xproperty.time;
                look = true;
            }
        }
        if (look) {
            if (FindViewable(display, root, pid, 0)) {
                result = 0;
                break;
            }
            if (kill(static_cast<pid_t>(pid), 0) != 0) {
                break;
            }
            nextLook = Clock::now() + interval;
        }
        // Events read while waiting for the replies of the look are already queued.
        if (XQLength(display) > 0) {
            continue;
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(nextLook - Clock::now());
        poll(&fd, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)));
    }
    if (result == 0) {
        // The server's clock counts milliseconds in 32 bits and wraps around.
        const auto elapsed = static_cast<int32_t>(static_cast<uint32_t>(markedAt - start.server));
        const int64_t shown =
            marked && elapsed >= 0 ? start.wall + int64_t{elapsed} * 1000000 : WallNanoseconds();
        std::printf("%lld\n", static_cast<long long>(std::min(shown, WallNanoseconds())));
    }
    XCloseDisplay(display);
    return result;
}
