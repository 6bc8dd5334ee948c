#pragma once
// A virtual X server for the window tests, the program under test as a child process, and the
// few X requests the tests make themselves (find the frame, screenshot, close button, watch the
// full-screen requests a window manager would receive).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Xlib's names stay out of the tests (its macros clash with GoogleTest's).
struct _XDisplay;

namespace tarnova::windowtest {

using namespace std::chrono_literals;
using Display = ::_XDisplay;
using Window = unsigned long;

// Xvfb on a display number it picks itself; stopped when destroyed.
class VirtualDisplay {
public:
    VirtualDisplay() = default;
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    ~VirtualDisplay();

    // False (with the reason in `error`) when Xvfb is missing or does not come up.
    bool start(int width, int height, std::string& error);
    // Starts a light window manager (openbox) on the display and waits until it manages it;
    // false (with the reason) when it is missing or does not come up. Stopped when destroyed.
    bool startWindowManager(std::string& error);
    const std::string& name() const { return name_; }
    Display* connection() const { return display_; }

private:
    int pid_ = -1;
    int managerPid_ = -1;
    std::string name_;
    Display* display_ = nullptr;
};

// A program started with DISPLAY set; killed when destroyed if still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool start(const std::vector<std::string>& argv, const std::string& display, const std::string& directory);
    // The exit status, or nothing when it has not ended within the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool running();
    // Standard output and error so far.
    std::string output() const;
    int pid() const { return pid_; }

private:
    int pid_ = -1;
    int status_ = -1;
    std::string outputFile_;
};

// The top-level window whose title is `title` and that is mapped, or 0 after the timeout.
Window findWindow(Display* display, const std::string& title, std::chrono::milliseconds timeout);
// The window's position on the root window and its size.
struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};
Geometry windowGeometry(Display* display, Window window);

// The whole screen as 0xRRGGBB values, row by row.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Screenshot takeScreenshot(Display* display);
// Writes a rectangle of the screenshot as a binary PPM file (kept beside a failing test).
bool savePpm(const Screenshot& shot, int x, int y, int width, int height, const std::string& file);

// What a window manager does when the user resizes the frame.
void resizeWindow(Display* display, Window window, int width, int height);

// What a user does with the window manager's buttons: maximise or restore the frame.
void setMaximised(Display* display, Window window, bool maximised);
// Moves the frame's client area to (x, y) of the screen and sizes it.
void moveResizeWindow(Display* display, Window window, int x, int y, int width, int height);

// The window that holds the keyboard focus; 0 for none (or the root window).
Window focusedWindow(Display* display);
// Takes the keyboard focus from every window.
void dropFocus(Display* display);

// What the frame's close button sends.
void sendCloseRequest(Display* display, Window window);

// Runs xdotool with these arguments against the display; true on success.
bool xdotool(const std::string& display, const std::vector<std::string>& arguments);

// Starts watching the root window for the requests clients send to the window manager.
void watchWindowManagerRequests(Display* display);
// The next full-screen request (true add, false remove) within the timeout.
std::optional<bool> nextFullScreenRequest(Display* display, std::chrono::milliseconds timeout);

} // namespace tarnova::windowtest
