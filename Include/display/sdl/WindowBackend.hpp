#pragma once
// The real-window backend: one SDL2 frame with a menu bar, the pane and a status line. The
// frame runs on the main thread; the program's thread hands it keys, message boxes and its end
// through a small queue guarded by its own mutex, never by the display lock.

#include "display/Backend.hpp"
#include "display/sdl/TextRenderer.hpp"
#include "display/sdl/frameLayout.hpp"

#include <SDL.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tarnova::sdl {

class WindowBackend final : public Backend {
public:
    WindowBackend() = default;
    ~WindowBackend() override;

    bool open(std::string_view title, int& paneWidth, int& paneHeight) override;
    void run() override;
    void changed() override;
    int messageBox(std::string_view text, std::string_view caption, int style) override;
    int nextKey(int& code) override;
    InputEvent nextInput() override;
    void setPointerInput(bool on) override;
    void waitForExit() override;
    void programEnded(int status) override;
    void toggleFullScreen() override;
    void windowCommand() override;
    void takeFocus() override;

private:
    // A modal box waiting to be shown or on show; it lives with whoever asked for it.
    struct Box {
        std::string text;
        std::string caption;
        bool askToClose = false;  // Yes/No instead of a single OK
        bool done = false;
        int result = 0;           // 1 OK (or Yes), 0 No
    };
    struct BoxLayout {
        Rect outer;
        Rect caption;
        std::vector<std::string> lines;
        Rect ok;   // OK, or Yes
        Rect no;   // No (asking boxes only)
    };
    enum class Command : int { wake = 0, fullScreen = 1, window = 2, focus = 3 };

    // Frame loop and the program's requests (main thread).
    void pumpUntil(const std::function<bool()>& finished);
    void serviceProgram();
    void post(Command command);
    void requestClose();
    void pushKey(int character, int code, bool control = false);
    void pushPointer(InputEvent event);
    void queueKey(int character, int code) override { pushKey(character, code); }
    Box* shownBox();
    void dismissBox(int result);
    // Program thread, handMutex_ held by `lock`: ends the program normally when the frame was
    // closed after its work was complete.
    void endIfClosed(std::unique_lock<std::mutex>& lock);
    void doToggleFullScreen();
    void doWindowCommand();
    void doTakeFocus();
    void leaveFullScreen();
    void fitIntoWorkArea();
    bool windowManagerRunning() const;
    void waitUntilSettled(int& w, int& h);

    // Input (frameInput.cpp).
    void handleEvent(const SDL_Event& event);
    void handleKeyDown(const SDL_KeyboardEvent& key);
    void handleMenuKey(const SDL_KeyboardEvent& key);
    void handleMouseDown(int x, int y);
    void handleMouseMotion(int x, int y);
    // Pointer input for the program (frameInput.cpp); true when the event was the program's.
    bool pointerForProgram(const SDL_Event& event);
    bool toPane(int x, int y, int& paneX, int& paneY);
    // Scrolling a pane larger than the frame (frameInput.cpp); true when the event scrolled.
    bool scrollEvent(const SDL_Event& event);
    void scrollTo(int x, int y);
    void drawScrollBars(const PaneView& view);
    void toOutput(int& x, int& y) const;
    int findTopByAccessKey(char key) const;
    void openMenu(int index, bool highlightFirst);
    void closeMenu();
    void moveHighlight(int step);
    // The drop-down of a top-level menu: its own command first when it has one, then its items.
    std::vector<const MenuEntry*> dropItems(int top) const;
    void activate(const MenuEntry* entry);

    // Drawing (frameDrawing.cpp).
    bool pullState();
    bool needsPresent();
    void present();
    PaneView currentView();
    void outputSize(int& w, int& h) const;
    Rect topItemRect(int index);
    Rect dropDownRect();
    Rect dropItemRect(int item);
    BoxLayout layoutBox(const Box& box);
    void drawMenuBar(int w);
    void drawDropDown();
    void drawStatusLine(int w, int h);
    void drawBox(const Box& box);
    void fill(const Rect& r, SDL_Color colour);
    void frame(const Rect& r, SDL_Color colour);
    void drawLabel(const MenuLabel& label, int x, int y, SDL_Color colour);

    // Shared with the program's thread, under handMutex_.
    std::mutex handMutex_;
    std::condition_variable handChanged_;
    std::deque<InputEvent> keys_;               // keys and, when asked for, pointer input
    std::atomic<bool> pointerInput_{false};
    std::deque<Box*> boxes_;
    bool waitingForExit_ = false;
    bool endAtWait_ = false;                    // closed while the work was complete
    bool ended_ = false;
    bool frameGone_ = false;
    std::atomic<bool> wakePosted_{false};
    std::atomic<bool> alive_{false};
    Uint32 commandEvent_ = 0;
    std::thread::id mainThread_;

    // Main thread only.
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* paneTexture_ = nullptr;
    TextRenderer text_;
    int paneWidth_ = 0;
    int paneHeight_ = 0;
    int defaultWidth_ = 0;
    int defaultHeight_ = 0;
    std::vector<std::uint32_t> argb_;
    std::array<std::uint32_t, 256> colours_{};   // its palette, as ARGB
    // Offsets of the shown part of a pane larger than the frame, and a drag that moves it: with
    // the middle button over the pane, or the left on a scroll bar.
    int scrollX_ = 0;
    int scrollY_ = 0;
    enum class ScrollDrag { none, pane, across, down } scrollDrag_ = ScrollDrag::none;
    int dragFromX_ = 0;
    int dragFromY_ = 0;
    int dragScrollX_ = 0;
    int dragScrollY_ = 0;
    std::vector<MenuEntry> menu_;
    std::string status_;
    std::string title_;
    std::uint64_t shownGeneration_ = ~std::uint64_t{0};
    bool frameDirty_ = true;
    Uint32 frameInterval_ = 16;
    Uint32 nextPresent_ = 0;
    int openMenu_ = -1;
    int highlight_ = -1;
    bool closing_ = false;
    bool closeWhenEnded_ = false;
    bool endHandled_ = false;
    bool showEnded_ = false;
    bool lastKeyHadAlt_ = false;
    bool swallowText_ = false;       // the text of the last key press was taken as a command
    bool pointerHeld_ = false;       // the left button went down over the pane for the program
    bool fullScreen_ = false;
    // Until this tick (ms), moves and resizes are a manager still restoring a maximised frame,
    // which may place it after the "restored" event: each is fitted into the work area too.
    std::uint64_t fitAfterRestoreUntil_ = 0;
    bool managed_ = false;           // a window manager decorates the frame
    // The frame as it was before full screen, to go back to exactly.
    SDL_Rect beforeFullScreen_{};
    bool maximisedBeforeFullScreen_ = false;
    Box askBox_;
};

} // namespace tarnova::sdl
