// Waits until a process has a window on the screen: polls the X server every millisecond for
// a viewable window whose _NET_WM_PID is the given process, and exits 0 as soon as one is
// there (1 when the process is gone or 20 seconds have passed). The start-up script takes the
// time right after this returns, so the figure ends when the window is mapped.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int result = 1;
    while (std::chrono::steady_clock::now() < deadline) {
        if (FindViewable(display, DefaultRootWindow(display), pid, 0)) {
            result = 0;
            break;
        }
        if (kill(static_cast<pid_t>(pid), 0) != 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    XCloseDisplay(display);
    return result;
}
