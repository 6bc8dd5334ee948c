#pragma once
// The narrow interface between the display layer and the thing that shows it. The layer owns
// every pixel (an 8-bit palette-indexed pane), the menu tree, the status texts and the title;
// a backend only presents them and feeds keys and menu picks back. Two backends exist: a real
// window (SDL2) and a headless one (no display: keys from standard input, message boxes and the
// text window's lines on standard error).

#include "display/Display.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnova {

class Backend;

// One entry of the menu bar, or of a top-level menu's drop-down (items).
struct MenuEntry {
    std::string text;           // with "&" before the access letter
    int flags = 4;              // as appendMenuItem
    MenuHandler handler = nullptr;
    std::vector<MenuEntry> items;
};

// Allocates from calloc, and leaves elements made by resize() as the allocation gave them: a pane
// made fresh is zero without being written, so the part of it nothing draws costs no memory (the
// headless programs draw a few rows of a 786 KB pane).
template <class T> struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <class U> ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n)
    {
        if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
        throw std::bad_alloc();
    }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};
// Pane pixels: resize only a fresh vector (elements within an old capacity are not cleared).
using PanePixels = std::vector<std::uint8_t, ZeroedAllocator<std::uint8_t>>;

// Everything a backend presents. Read and written only under `mutex`, the display lock.
struct DisplayState {
    std::mutex mutex;
    int paneWidth = 1024;
    int paneHeight = 768;
    PanePixels pixels;                          // paneWidth x paneHeight, top row first
    std::vector<std::uint8_t> rowsReached;      // per row: 0 while the row is as made (zero)
    std::array<std::uint32_t, 256> palette{};   // 0x00BBGGRR per index
    std::vector<MenuEntry> menuBar;
    std::array<std::string, 6> statusTexts;     // by kind (3 ended, 4 paused, 5 running)
    bool programEnded = false;                  // status kind 3 applies from then on
    std::string title;
    int exitBehaviour = 3;
    bool workComplete = false;                  // setWorkComplete
    std::uint64_t generation = 0;               // bumped by every change a backend shows
    Backend* backend = nullptr;
};

// The one display state of this process.
DisplayState& displayState();

class Backend {
public:
    virtual ~Backend() = default;

    // Main thread, once, before the menu is set up. Opens the frame maximised on the current
    // display and fixes the pane size (usable area less the frame's own bars) in paneWidth and
    // paneHeight. Returns false, leaving nothing open, when no display can be opened.
    virtual bool open(std::string_view title, int& paneWidth, int& paneHeight) = 0;

    // Main thread. Runs the frame until the program has ended and the frame is to close (as the
    // exit behaviour says); presents the pane whenever `generation` moved, never faster than the
    // display refreshes; calls menu handlers on this thread. Returns when the frame is gone.
    virtual void run() = 0;

    // Any thread, with or without the display lock held; never blocks. Something shown changed.
    virtual void changed() = 0;

    // Program thread, display lock not held. Shows a modal box and returns when it is dismissed
    // (1 = OK).
    virtual int messageBox(std::string_view text, std::string_view caption, int style) = 0;

    // Program thread, display lock not held. Waits for the next key: returns its character, or
    // 0 with the classic PC scan code in `code` for a key without one (arrows, F1-F12, ...).
    // May end the program (headless input exhausted twice).
    virtual int nextKey(int& code) = 0;

    // Program thread, display lock not held. As nextKey, but with the pointer input asked for
    // by setPointerInput. A backend without a pointer gives keys only.
    virtual InputEvent nextInput();
    // Program thread. Pointer input is queued only while it is on.
    virtual void setPointerInput(bool on) { (void)on; }

    // Program thread, display lock not held. Blocks, without spinning, until the user chooses
    // Exit (exitRequested) or, headless, standard input is exhausted.
    virtual void waitForExit() = 0;

    // Any thread (menu handlers on the window thread), display lock not held; never blocks.
    // Queues a key for nextKey as if it had been typed (postKey). By default nothing is queued.
    virtual void queueKey(int character, int code)
    {
        (void)character;
        (void)code;
    }

    // Program thread. The program body has ended with `status`; the frame closes as the exit
    // behaviour says and run() then returns.
    virtual void programEnded(int status) = 0;

    // Window thread (menu handlers). Built-in frame commands.
    virtual void toggleFullScreen() = 0;
    virtual void windowCommand() = 0;
    // Any thread, with or without the display lock held; never blocks. The frame takes the
    // keyboard focus.
    virtual void takeFocus() {}

    // Program thread. A line written to the screen's text window. Every backend echoes it to
    // standard error, so a failure message reaches a log as well as the screen.
    virtual void textLine(std::string_view line);

    // True for the headless backend (no one is there to acknowledge a message).
    virtual bool headless() const { return false; }
};

// The real-window backend; nullptr when it is not built in.
std::unique_ptr<Backend> makeWindowBackend();
std::unique_ptr<Backend> makeHeadlessBackend();

} // namespace tarnova
