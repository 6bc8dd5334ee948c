#include <X11/Xlib.h>
#include "xSession.hpp"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarnova::windowtest {

namespace {

using Clock = std::chrono::steady_clock;

// Waits for the child without leaving it a zombie; true when it has ended.
bool reap(int pid, int& status, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int raw = 0;
        const int r = waitpid(pid, &raw, WNOHANG);
        if (r == pid) {
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            return true;
        }
        if (r < 0 && errno != EINTR) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
}

// Xlib must not end the test process when the server goes away or a window vanishes.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

} // namespace

VirtualDisplay::~VirtualDisplay()
{
    if (display_ != nullptr) XCloseDisplay(display_);
    for (int pid : {managerPid_, pid_}) {
        if (pid <= 0) continue;
        kill(pid, SIGTERM);
        int status = 0;
        if (!reap(pid, status, 5000ms)) {
            kill(pid, SIGKILL);
            reap(pid, status, 5000ms);
        }
    }
}

bool VirtualDisplay::startWindowManager(std::string& error)
{
    managerPid_ = fork();
    if (managerPid_ == 0) {
        const int devNull = ::open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(devNull, 2);
        setenv("DISPLAY", name_.c_str(), 1);
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (managerPid_ < 0) {
        error = "fork failed";
        return false;
    }
    // The manager announces itself on the root window once it manages the screen.
    const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
    const auto deadline = Clock::now() + 20s;
    while (Clock::now() < deadline) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool found = XGetWindowProperty(display_, DefaultRootWindow(display_), check, 0, 1, False, XA_WINDOW,
                                              &type, &format, &count, &after, &data) == Success &&
                           type == XA_WINDOW && count == 1;
        if (data != nullptr) XFree(data);
        if (found) return true;
        int status = 0;
        if (reap(managerPid_, status, 0ms)) {
            managerPid_ = -1;
            error = "openbox ended at once (is the openbox package installed?)";
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    error = "openbox did not come up";
    return false;
}

bool VirtualDisplay::start(int width, int height, std::string& error)
{
    int fds[2];
    if (pipe(fds) != 0) {
        error = "no pipe";
        return false;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(fds[1]);
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        const int devNull = ::open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(devNull, 1);
        dup2(devNull, 2);
        // -displayfd: the server picks a free display number and writes it to the pipe.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        error = "fork failed";
        return false;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    const auto deadline = Clock::now() + 20s;
    while (Clock::now() < deadline) {
        if (poll(&p, 1, 200) <= 0) continue;
        char c = 0;
        if (read(fds[0], &c, 1) != 1) break;
        if (c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        error = "Xvfb did not start (is the xvfb package installed?)";
        return false;
    }
    name_ = ":" + number;
    XSetErrorHandler(ignoreXError);
    display_ = XOpenDisplay(name_.c_str());
    if (display_ == nullptr) {
        error = "cannot connect to " + name_;
        return false;
    }
    return true;
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0 && status_ < 0) {
        kill(pid_, SIGKILL);
        reap(pid_, status_, 5000ms);
    }
}

bool ChildProcess::start(const std::vector<std::string>& argv, const std::string& display,
                         const std::string& directory)
{
    outputFile_ = directory + "/output.txt";
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(directory.c_str()) != 0) _exit(127);
        const int devNull = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outputFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(devNull, 0);
        dup2(out, 1);
        dup2(out, 2);
        setenv("DISPLAY", display.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("SDL_VIDEODRIVER");
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid_ > 0;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    if (status_ >= 0) return status_;
    if (pid_ <= 0) return std::nullopt;
    if (!reap(pid_, status_, timeout)) return std::nullopt;
    return status_;
}

bool ChildProcess::running()
{
    return !waitForExit(0ms).has_value();
}

std::string ChildProcess::output() const
{
    std::ifstream in(outputFile_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {

// The mapped window titled `title` at or below `window` (a manager puts clients in its frames).
Window findTitled(Display* display, Window window, const std::string& title, int depth)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) == 0) continue;
        if (attributes.map_state != IsViewable) continue;
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
            if (title == name) found = children[i];
            XFree(name);
        }
        if (found == 0 && depth > 0) found = findTitled(display, children[i], title, depth - 1);
    }
    if (children != nullptr) XFree(children);
    return found;
}

} // namespace

Window findWindow(Display* display, const std::string& title, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    do {
        if (const Window found = findTitled(display, DefaultRootWindow(display), title, 2)) return found;
        std::this_thread::sleep_for(50ms);
    } while (Clock::now() < deadline);
    return 0;
}

Geometry windowGeometry(Display* display, Window window)
{
    XWindowAttributes attributes{};
    Geometry g;
    if (XGetWindowAttributes(display, window, &attributes) == 0) return g;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &g.x, &g.y, &child);
    g.width = attributes.width;
    g.height = attributes.height;
    return g;
}

Screenshot takeScreenshot(Display* display)
{
    Screenshot shot;
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) return shot;
    shot.width = attributes.width;
    shot.height = attributes.height;
    shot.pixels.resize(static_cast<std::size_t>(shot.width) * shot.height);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            shot.pixels[static_cast<std::size_t>(y) * shot.width + x] =
                static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
    XDestroyImage(image);
    return shot;
}

bool savePpm(const Screenshot& shot, int x, int y, int width, int height, const std::string& file)
{
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (int row = y; row < y + height; ++row)
        for (int col = x; col < x + width; ++col) {
            const std::uint32_t c = shot.at(col, row);
            const char rgb[3] = {static_cast<char>(c >> 16), static_cast<char>(c >> 8), static_cast<char>(c)};
            out.write(rgb, 3);
        }
    return static_cast<bool>(out);
}

void resizeWindow(Display* display, Window window, int width, int height)
{
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display, False);
}

void setMaximised(Display* display, Window window, bool maximised)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = maximised ? 1 : 0;
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_VERT", False));
    event.xclient.data.l[2] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_HORZ", False));
    event.xclient.data.l[3] = 1;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

void moveResizeWindow(Display* display, Window window, int x, int y, int width, int height)
{
    // A managed frame is placed by its outer corner; move the client so it lands at (x, y).
    const Geometry now = windowGeometry(display, window);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, window, &root, &parent, &children, &count);
    if (children != nullptr) XFree(children);
    if (parent != root && parent != 0) {
        // Reparented by a manager: move its frame by the difference.
        const Geometry frame = windowGeometry(display, parent);
        XMoveResizeWindow(display, window, frame.x + (x - now.x), frame.y + (y - now.y), static_cast<unsigned>(width),
                          static_cast<unsigned>(height));
    } else {
        XMoveResizeWindow(display, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
    }
    XSync(display, False);
}

Window focusedWindow(Display* display)
{
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == PointerRoot || focus == DefaultRootWindow(display)) return 0;
    return focus;
}

void dropFocus(Display* display)
{
    XSetInputFocus(display, None, RevertToNone, CurrentTime);
    XSync(display, False);
}

void sendCloseRequest(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

bool xdotool(const std::string& display, const std::vector<std::string>& arguments)
{
    const int pid = fork();
    if (pid == 0) {
        const int devNull = ::open("/dev/null", O_RDWR);
        dup2(devNull, 0);
        dup2(devNull, 1);
        setenv("DISPLAY", display.c_str(), 1);
        std::vector<char*> args{const_cast<char*>("xdotool")};
        for (const std::string& a : arguments) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp("xdotool", args.data());
        _exit(127);
    }
    int status = -1;
    if (pid < 0 || !reap(pid, status, 10000ms)) return false;
    return status == 0;
}

void watchWindowManagerRequests(Display* display)
{
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
}

std::optional<bool> nextFullScreenRequest(Display* display, std::chrono::milliseconds timeout)
{
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event{};
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == state &&
                (static_cast<Atom>(event.xclient.data.l[1]) == fullScreen ||
                 static_cast<Atom>(event.xclient.data.l[2]) == fullScreen))
                return event.xclient.data.l[0] == 1;
        }
        std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
}

} // namespace tarnova::windowtest
