#include "display/sdl/WindowBackend.hpp"

#include "Utilitar.hpp"
#include "display/Display.hpp"

#include <SDL_syswm.h>
#ifndef _WIN32
#include <X11/Xatom.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <unistd.h>

// The entry point of the window module (WindowModule.cpp loads it).
extern "C" tarnova::Backend* tarnovaWindowBackend()
{
    return new tarnova::sdl::WindowBackend();
}

namespace tarnova::sdl {

namespace {

// Without a display SDL falls back to drivers that draw nowhere; those mean "no display".
bool isRealVideoDriver(const char* name)
{
    if (name == nullptr) return false;
    for (const char* nowhere : {"offscreen", "dummy", "evdev"})
        if (std::strcmp(name, nowhere) == 0) return false;
    return true;
}

// How long the frame may take to reach its maximised size under a window manager.
constexpr Uint32 settleTimeoutMilliseconds = 4000;
// The size is taken once it has not changed for this long after the manager maximised it.
constexpr Uint32 settledMilliseconds = 250;

bool hasDisplayVariable()
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

// A display that is named but cannot be used: one line saying why, and the run goes on headless.
void reportNoWindow(const char* reason)
{
    std::fprintf(stderr, "No window (%s): running without one.\n", reason);
}

// Standard error sent elsewhere while SDL looks for a display: the libraries it tries (Wayland,
// X11) print their own complaints there, and a display that cannot be used deserves one line, not
// a page of theirs. Only the start-up thread runs at this point.
class QuietStandardError {
public:
    QuietStandardError()
    {
#ifndef _WIN32   // only the X11 and Wayland libraries complain there
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && nowhere >= 0) ::dup2(nowhere, STDERR_FILENO);
        if (nowhere >= 0) ::close(nowhere);
#endif
    }
    ~QuietStandardError()
    {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

// Longest idle wait of the frame loop; every change wakes it earlier.
constexpr int idleWaitMilliseconds = 500;
constexpr int minimumPaneSide = 64;

} // namespace

// A window manager decorates and places the frame; without one (a bare X server) the frame is
// placed and sized by this program alone. A Wayland compositor always manages it.
bool WindowBackend::windowManagerRunning() const
{
#ifdef _WIN32
    return true;   // the Windows desktop always manages the frame
#else
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) != SDL_TRUE) return true;
    if (info.subsystem != SDL_SYSWM_X11) return true;
    ::Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success &&
        type == XA_WINDOW && count == 1 && data != nullptr)
        found = *reinterpret_cast<::Window*>(data) != 0;
    if (data != nullptr) XFree(data);
    return found;
#endif
}

// Waits, handling no events of the program yet, until the manager has maximised the frame and
// its size has stayed put; the client size is then in w and h.
void WindowBackend::waitUntilSettled(int& w, int& h)
{
    const Uint32 start = SDL_GetTicks();
    Uint32 stableSince = 0;
    int lastW = -1, lastH = -1;
    while (!SDL_TICKS_PASSED(SDL_GetTicks(), start + settleTimeoutMilliseconds)) {
        SDL_PumpEvents();
        SDL_GetWindowSize(window_, &w, &h);
        const bool maximised = (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
        if (!maximised || w != lastW || h != lastH) {
            lastW = w;
            lastH = h;
            stableSince = SDL_GetTicks();
        } else if (SDL_TICKS_PASSED(SDL_GetTicks(), stableSince + settledMilliseconds)) {
            break;
        }
        SDL_Delay(10);
    }
    SDL_GetWindowSize(window_, &w, &h);
}

WindowBackend::~WindowBackend()
{
    alive_ = false;
    text_.clear();
    if (paneTexture_ != nullptr) SDL_DestroyTexture(paneTexture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (window_ != nullptr) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool WindowBackend::open(std::string_view title, int& paneWidth, int& paneHeight)
{
    if (!hasDisplayVariable()) return false;
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Larger than 1:1 the pane's pixels are shown as blocks; smaller, it is shown 1:1 and scrolled.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    int initialised = 0;
    {
        QuietStandardError quiet;
        initialised = SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    if (initialised != 0) {
        reportNoWindow(SDL_GetError());
        return false;
    }
    if (!isRealVideoDriver(SDL_GetCurrentVideoDriver())) {
        // SDL fell back to a driver that draws nowhere: the display named is not reachable.
        std::string reason = "cannot open the display";
        for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
            const char* value = std::getenv(variable);
            if (value != nullptr && *value != '\0') reason += std::string(" ") + variable + "=" + value;
        }
        reportNoWindow(reason.c_str());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    title_ = std::string(title);
    // The frame opens maximised on the display under the pointer; the pane is what it then holds
    // less the menu bar and the status line, and its size never changes afterwards.
    int pointerX = 0, pointerY = 0;
    SDL_GetGlobalMouseState(&pointerX, &pointerY);
    const SDL_Point pointer{pointerX, pointerY};
    const int display = std::max(SDL_GetPointDisplayIndex(&pointer), 0);
    SDL_Rect usable{0, 0, 640, 480};
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) SDL_GetDisplayBounds(display, &usable);
    window_ = SDL_CreateWindow(title_.c_str(), usable.x, usable.y, std::max(usable.w, minimumPaneSide),
                               std::max(usable.h, minimumPaneSide), SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) {
        reportNoWindow(SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    commandEvent_ = SDL_RegisterEvents(1);
    if (renderer_ == nullptr || commandEvent_ == static_cast<Uint32>(-1)) {
        reportNoWindow(SDL_GetError());
        if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
        SDL_DestroyWindow(window_);
        renderer_ = nullptr;
        window_ = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    SDL_SetWindowMinimumSize(window_, 200, menuBarHeight + statusLineHeight + minimumPaneSide);
    SDL_ShowWindow(window_);
    managed_ = windowManagerRunning();
    int clientW = usable.w, clientH = usable.h;
    if (managed_) {
        // The manager puts its own title bar and borders around the frame: the pane is what
        // the maximised frame holds, so that it is shown pixel for pixel.
        SDL_MaximizeWindow(window_);
        waitUntilSettled(clientW, clientH);
    } else {
        SDL_SetWindowPosition(window_, usable.x, usable.y);
        SDL_SetWindowSize(window_, usable.w, usable.h);
    }
    paneWidth_ = std::max(clientW, minimumPaneSide);
    paneHeight_ = std::max(clientH - menuBarHeight - statusLineHeight, minimumPaneSide);
    defaultWidth_ = paneWidth_;
    defaultHeight_ = paneHeight_ + menuBarHeight + statusLineHeight;

    SDL_DisplayMode mode{};
    if (SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0)
        frameInterval_ = static_cast<Uint32>((1000 + mode.refresh_rate - 1) / mode.refresh_rate);
    paneTexture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                     paneWidth_, paneHeight_);
    argb_.assign(static_cast<std::size_t>(paneWidth_) * paneHeight_, 0xFF000000u);
    text_.open(uiFontPixels);

    mainThread_ = std::this_thread::get_id();
    alive_ = true;
    paneWidth = paneWidth_;
    paneHeight = paneHeight_;
    return true;
}

void WindowBackend::run()
{
    pumpUntil([this] { return closing_; });
    {
        std::lock_guard lock(handMutex_);
        frameGone_ = true;
        // Nobody is left to dismiss a box or type a key.
        for (Box* box : boxes_) {
            box->done = true;
            box->result = 1;
        }
        boxes_.clear();
    }
    handChanged_.notify_all();
    alive_ = false;
    SDL_HideWindow(window_);
}

void WindowBackend::pumpUntil(const std::function<bool()>& finished)
{
    while (!finished()) {
        serviceProgram();
        if (finished()) break;
        int timeout = idleWaitMilliseconds;
        if (needsPresent()) {
            const Uint32 now = SDL_GetTicks();
            if (SDL_TICKS_PASSED(now, nextPresent_))
                present();
            else
                timeout = static_cast<int>(nextPresent_ - now);
        }
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, timeout) != 0) {
            handleEvent(event);
            while (!finished() && SDL_PollEvent(&event) != 0) handleEvent(event);
        }
    }
}

// The program's end and message boxes, as handed over from its thread.
void WindowBackend::serviceProgram()
{
    bool ended = false;
    {
        std::lock_guard lock(handMutex_);
        ended = ended_;
        if (!boxes_.empty() && openMenu_ >= 0) closeMenu();
        if (!boxes_.empty()) frameDirty_ = true;
    }
    if (askBox_.done) {
        askBox_.done = false;
        askBox_.askToClose = false;
        if (askBox_.result == 1) closing_ = true;
    }
    if (!ended || endHandled_) return;
    endHandled_ = true;
    showEnded_ = true;
    frameDirty_ = true;
    int behaviour = 3;
    {
        DisplayState& state = displayState();
        std::lock_guard lock(state.mutex);
        behaviour = state.exitBehaviour;
    }
    if (closeWhenEnded_ || behaviour == 2) {
        closing_ = true;
    } else if (behaviour == 1) {
        askBox_ = Box{"The program has ended. Close the window?", title_, true, false, 0};
        std::lock_guard lock(handMutex_);
        boxes_.push_back(&askBox_);
    }
}

void WindowBackend::post(Command command)
{
    if (!alive_) return;
    if (command == Command::wake && wakePosted_.exchange(true)) return;
    SDL_Event event{};
    event.type = commandEvent_;
    event.user.code = static_cast<Sint32>(command);
    SDL_PushEvent(&event);
}

void WindowBackend::changed()
{
    post(Command::wake);
}

int WindowBackend::messageBox(std::string_view text, std::string_view caption, int style)
{
    (void)style;  // every box of these programs has one OK button
    Box box{std::string(text), std::string(caption), false, false, 0};
    if (std::this_thread::get_id() == mainThread_) {
        // A menu handler's box: run the frame until it is dismissed.
        {
            std::lock_guard lock(handMutex_);
            boxes_.push_back(&box);
        }
        frameDirty_ = true;
        pumpUntil([&] { return box.done || closing_; });
        return 1;
    }
    std::unique_lock lock(handMutex_);
    endIfClosed(lock);
    if (frameGone_) return 1;
    boxes_.push_back(&box);
    lock.unlock();
    post(Command::wake);
    lock.lock();
    handChanged_.wait(lock, [&] { return box.done; });
    endIfClosed(lock);
    return box.result == 0 ? 1 : box.result;
}

int WindowBackend::nextKey(int& code)
{
    std::unique_lock lock(handMutex_);
    for (;;) {
        handChanged_.wait(lock, [&] { return !keys_.empty() || endAtWait_; });
        endIfClosed(lock);
        const InputEvent event = keys_.front();
        keys_.pop_front();
        if (event.kind != InputEvent::Kind::key) continue;  // pointer input nobody reads now
        code = event.code;
        return event.character;
    }
}

InputEvent WindowBackend::nextInput()
{
    std::unique_lock lock(handMutex_);
    handChanged_.wait(lock, [&] { return !keys_.empty() || endAtWait_; });
    endIfClosed(lock);
    const InputEvent event = keys_.front();
    keys_.pop_front();
    return event;
}

void WindowBackend::setPointerInput(bool on)
{
    pointerInput_ = on;
    if (on) return;
    std::lock_guard lock(handMutex_);
    std::erase_if(keys_, [](const InputEvent& e) { return e.kind != InputEvent::Kind::key; });
}

void WindowBackend::waitForExit()
{
    {
        std::lock_guard lock(handMutex_);
        waitingForExit_ = true;
    }
    waitForExitRequest();
    std::lock_guard lock(handMutex_);
    waitingForExit_ = false;
}

void WindowBackend::programEnded(int status)
{
    (void)status;
    {
        std::lock_guard lock(handMutex_);
        ended_ = true;
    }
    post(Command::wake);
}

void WindowBackend::pushKey(int character, int code, bool control)
{
    InputEvent event;
    event.character = character;
    event.code = code;
    event.control = control;
    {
        std::lock_guard lock(handMutex_);
        keys_.push_back(event);
    }
    handChanged_.notify_all();
}

// A run of motions not yet read is one motion to where the pointer is now.
void WindowBackend::pushPointer(InputEvent event)
{
    if (!pointerInput_) return;
    {
        std::lock_guard lock(handMutex_);
        if (event.kind == InputEvent::Kind::motion && !keys_.empty() &&
            keys_.back().kind == InputEvent::Kind::motion)
            keys_.back() = event;
        else
            keys_.push_back(event);
    }
    handChanged_.notify_all();
}

WindowBackend::Box* WindowBackend::shownBox()
{
    std::lock_guard lock(handMutex_);
    return boxes_.empty() ? nullptr : boxes_.front();
}

void WindowBackend::dismissBox(int result)
{
    {
        std::lock_guard lock(handMutex_);
        if (boxes_.empty()) return;
        Box* box = boxes_.front();
        boxes_.pop_front();
        box->result = result;
        box->done = true;
    }
    handChanged_.notify_all();
    frameDirty_ = true;
}

namespace {

[[noreturn]] void endClosedWhileRunning()
{
    // The program's thread may be writing a record this very moment, so its units are not
    // closed from here: flushing every stream (each locked by the C library) puts every
    // record written so far into its file, whole.
    std::fputs("The window was closed before the program had finished.\n", stderr);
    std::fflush(nullptr);
    std::_Exit(closedWhileRunningStatus);
}

} // namespace

void WindowBackend::endIfClosed(std::unique_lock<std::mutex>& lock)
{
    if (!endAtWait_) return;
    lock.unlock();
    bool complete = false;
    {
        DisplayState& state = displayState();
        std::lock_guard guard(state.mutex);
        complete = state.workComplete;
    }
    // The work done since the close (a save that failed) may have left it incomplete.
    if (!complete) endClosedWhileRunning();
    exitProgram(0);
}

// The frame's close button. A program that has ended, or that only waits for Exit, is let go
// normally, and so is one whose work is complete (at its next wait for the user: a box on show is
// dismissed for it); one still working is ended at once, keeping every file it has written.
void WindowBackend::requestClose()
{
    bool complete = false;
    {
        DisplayState& state = displayState();
        std::lock_guard lock(state.mutex);
        complete = state.workComplete;
    }
    {
        std::unique_lock lock(handMutex_);
        if (ended_) {
            closing_ = true;
            return;
        }
        if (waitingForExit_) {
            closeWhenEnded_ = true;
            lock.unlock();
            exitHandler(false);
            return;
        }
        if (complete) {
            closeWhenEnded_ = true;
            endAtWait_ = true;
            for (Box* box : boxes_) {
                box->done = true;
                box->result = 1;
            }
            boxes_.clear();
            lock.unlock();
            handChanged_.notify_all();
            frameDirty_ = true;
            return;
        }
    }
    endClosedWhileRunning();
}

void WindowBackend::toggleFullScreen()
{
    if (std::this_thread::get_id() == mainThread_)
        doToggleFullScreen();
    else
        post(Command::fullScreen);
}

void WindowBackend::takeFocus()
{
    post(Command::focus);
}

// Raised and given the keyboard: a window manager is asked to activate the frame; without one
// nobody gives the focus back when a window that had it closes, so the frame takes it itself.
void WindowBackend::doTakeFocus()
{
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN) != 0) return;
    SDL_RaiseWindow(window_);
    if (!managed_) SDL_SetWindowInputFocus(window_);
}

void WindowBackend::windowCommand()
{
    if (std::this_thread::get_id() == mainThread_)
        doWindowCommand();
    else
        post(Command::window);
}

// Full screen covers the whole display with the frame, and leaving it puts the frame back exactly
// as it was: maximised, or at its own place and size. A window manager is asked for its full
// screen state; without one the frame itself is moved over the display.
void WindowBackend::doToggleFullScreen()
{
    if (fullScreen_) {
        leaveFullScreen();
        return;
    }
    maximisedBeforeFullScreen_ = (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
    SDL_GetWindowPosition(window_, &beforeFullScreen_.x, &beforeFullScreen_.y);
    SDL_GetWindowSize(window_, &beforeFullScreen_.w, &beforeFullScreen_.h);
    fullScreen_ = true;
    if (managed_) {
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_Rect bounds{};
        if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &bounds) == 0) {
            SDL_SetWindowPosition(window_, bounds.x, bounds.y);
            SDL_SetWindowSize(window_, bounds.w, bounds.h);
        }
    }
    frameDirty_ = true;
}

// The frame opens at the work area's size and is then maximised, so a manager restoring it gives
// back that size below its title bar, running off the screen: a restored frame, its borders
// included, is made to fit the work area.
void WindowBackend::fitIntoWorkArea()
{
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0) return;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &usable) != 0) return;
    int top = 0, left = 0, bottom = 0, right = 0;
    SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &w, &h);
    const int fitW = std::min(w, usable.w - left - right), fitH = std::min(h, usable.h - top - bottom);
    const int fitX = std::clamp(x, usable.x + left, usable.x + usable.w - right - fitW);
    const int fitY = std::clamp(y, usable.y + top, usable.y + usable.h - bottom - fitH);
    if (fitW == w && fitH == h && fitX == x && fitY == y) return;
    // Three quarters of the work area, centred: a frame the user can tell from a maximised one.
    const int newW = fitW == w ? w : (usable.w - left - right) * 3 / 4;
    const int newH = fitH == h ? h : (usable.h - top - bottom) * 3 / 4;
    SDL_SetWindowSize(window_, newW, newH);
    SDL_SetWindowPosition(window_, usable.x + left + (usable.w - left - right - newW) / 2,
                          usable.y + top + (usable.h - top - bottom - newH) / 2);
}

void WindowBackend::leaveFullScreen()
{
    fullScreen_ = false;
    if (managed_) SDL_SetWindowFullscreen(window_, 0);
    if (maximisedBeforeFullScreen_) {
        SDL_MaximizeWindow(window_);
    } else {
        SDL_SetWindowSize(window_, beforeFullScreen_.w, beforeFullScreen_.h);
        SDL_SetWindowPosition(window_, beforeFullScreen_.x, beforeFullScreen_.y);
    }
    frameDirty_ = true;
}

// "&Window": out of full screen, back to the frame's default: maximised under a window manager,
// else of the default size centred on its display; the pane is then shown pixel for pixel.
void WindowBackend::doWindowCommand()
{
    if (fullScreen_ && managed_) SDL_SetWindowFullscreen(window_, 0);
    fullScreen_ = false;
    if (managed_) {
        SDL_MaximizeWindow(window_);
    } else {
        SDL_SetWindowSize(window_, defaultWidth_, defaultHeight_);
        const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    }
    frameDirty_ = true;
}

} // namespace tarnova::sdl
