// Waits until a process has a window on the screen and exits 0 as soon as one is (1 when the
// process is gone or 20 seconds have passed). The start-up script takes the time right after
// this returns, so the figure ends when the window is mapped.
//
// It listens for windows being mapped rather than asking the X server over and over: walking
// the window tree every millisecond kept the server busy with the waiter's own requests just
// while the program being timed needed it, and a program that had more to tell the server as
// its window appeared paid for that in the figure. At each window mapped at the top or inside
// a window manager's frame, it looks for a viewable window whose _NET_WM_PID is the process;
// a look every 10 ms covers an event it could not see.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
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
    const Window root = DefaultRootWindow(display);
    // Windows made at the top (the program's, and the frames a window manager puts them in)
    // and what is mapped there; inside each new one, what is mapped in it.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    const auto interval = std::chrono::milliseconds(10);
    auto nextLook = Clock::now();
    int result = 1;
    while (Clock::now() < deadline) {
        bool look = Clock::now() >= nextLook;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
                XSelectInput(display, event.xcreatewindow.window, SubstructureNotifyMask);
            } else if (event.type == MapNotify) {
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
    XCloseDisplay(display);
    return result;
}
