// Keyboard and mouse of the frame: keys for the program, menu navigation, message boxes.
#include "display/sdl/WindowBackend.hpp"
#include "display/sdl/keyCodes.hpp"

#include <cctype>
#include <cmath>
#include <utility>

namespace tarnova::sdl {

namespace {

bool isModifierKey(SDL_Keycode key)
{
    switch (key) {
    case SDLK_LSHIFT: case SDLK_RSHIFT: case SDLK_LCTRL: case SDLK_RCTRL:
    case SDLK_LALT: case SDLK_RALT: case SDLK_LGUI: case SDLK_RGUI:
    case SDLK_MODE: case SDLK_CAPSLOCK: case SDLK_NUMLOCKCLEAR: case SDLK_SCROLLLOCK:
        return true;
    default:
        return false;
    }
}

bool isEnter(SDL_Keycode key)
{
    return key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

bool isSelectable(const MenuEntry& entry)
{
    return (entry.flags & 3) == 0;  // neither grayed (1) nor disabled (2)
}

char accessKeyOf(SDL_Keycode key)
{
    return key > 0 && key < 128 && std::isalnum(static_cast<int>(key)) != 0
               ? static_cast<char>(std::tolower(static_cast<int>(key)))
               : 0;
}

} // namespace

void WindowBackend::handleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
        requestClose();
        return;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            requestClose();
        else if (event.window.event == SDL_WINDOWEVENT_RESTORED && managed_ && !fullScreen_) {
            fitAfterRestoreUntil_ = SDL_GetTicks64() + 2000;
            fitIntoWorkArea();
        } else if ((event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || event.window.event == SDL_WINDOWEVENT_MOVED) &&
                   managed_ && !fullScreen_ && SDL_GetTicks64() < fitAfterRestoreUntil_)
            fitIntoWorkArea();
        frameDirty_ = true;
        return;
    case SDL_KEYDOWN:
        handleKeyDown(event.key);
        return;
    case SDL_TEXTINPUT:
        // Text typed with Alt held went to the menus; text during a menu or a box is theirs.
        if (lastKeyHadAlt_ || swallowText_ || openMenu_ >= 0 || shownBox() != nullptr) return;
        for (int character : textInputCharacters(event.text.text)) pushKey(character, 0);
        return;
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
        if (!scrollEvent(event)) pointerForProgram(event);
        return;
    case SDL_MOUSEBUTTONDOWN:
        // A click on the frame brings the keyboard back to it, with or without a manager.
        if (SDL_GetKeyboardFocus() != window_) doTakeFocus();
        if (scrollEvent(event) || pointerForProgram(event)) return;
        if (event.button.button == SDL_BUTTON_LEFT) {
            int x = event.button.x, y = event.button.y;
            toOutput(x, y);
            handleMouseDown(x, y);
        }
        return;
    case SDL_MOUSEMOTION: {
        if (scrollEvent(event) || pointerForProgram(event)) return;
        int x = event.motion.x, y = event.motion.y;
        toOutput(x, y);
        handleMouseMotion(x, y);
        return;
    }
    case SDL_RENDER_DEVICE_RESET:
        text_.clear();
        [[fallthrough]];
    case SDL_RENDER_TARGETS_RESET:
        shownGeneration_ = ~std::uint64_t{0};
        frameDirty_ = true;
        return;
    default:
        break;
    }
    if (event.type == commandEvent_) {
        switch (static_cast<Command>(event.user.code)) {
        case Command::wake: wakePosted_ = false; break;
        case Command::fullScreen: doToggleFullScreen(); break;
        case Command::window: doWindowCommand(); break;
        case Command::focus: doTakeFocus(); break;
        }
    }
}

void WindowBackend::handleKeyDown(const SDL_KeyboardEvent& key)
{
    const SDL_Keycode sym = key.keysym.sym;
    const unsigned modifiers = key.keysym.mod;
    if (isModifierKey(sym)) return;
    // Alt Gr (mode) composes characters; it is not a menu key.
    const bool alt = (modifiers & KMOD_ALT) != 0 && (modifiers & KMOD_MODE) == 0;
    const bool control = (modifiers & KMOD_CTRL) != 0;
    lastKeyHadAlt_ = alt;
    swallowText_ = false;
    if (alt && isEnter(sym)) {
        if (key.repeat == 0) doToggleFullScreen();
        return;
    }
    if (Box* box = shownBox()) {
        if (isEnter(sym) || sym == SDLK_SPACE || (box->askToClose && sym == SDLK_y))
            dismissBox(1);
        else if (sym == SDLK_ESCAPE || (box->askToClose && sym == SDLK_n))
            dismissBox(box->askToClose ? 0 : 1);
        return;
    }
    if (openMenu_ >= 0) {
        handleMenuKey(key);
        return;
    }
    if (alt) {
        const int top = findTopByAccessKey(accessKeyOf(sym));
        if (top >= 0 && key.repeat == 0) {
            if (menu_[top].items.empty())
                activate(&menu_[top]);
            else
                openMenu(top, true);
        }
        return;
    }
    // Ctrl with + or - zooms as a wheel notch at the pointer, for a program that follows it.
    if (control && pointerInput_) {
        int notches = 0;
        if (sym == SDLK_PLUS || sym == SDLK_EQUALS || sym == SDLK_KP_PLUS) notches = 1;
        if (sym == SDLK_MINUS || sym == SDLK_KP_MINUS) notches = -1;
        if (notches != 0) {
            swallowText_ = true;
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            toOutput(x, y);
            InputEvent wheel;
            wheel.kind = InputEvent::Kind::wheel;
            wheel.notches = notches;
            if (!toPane(x, y, wheel.x, wheel.y)) {
                wheel.x = paneWidth_ / 2;
                wheel.y = paneHeight_ / 2;
            }
            pushPointer(wheel);
            return;
        }
    }
    const KeyPress press = translateKeyDown(sym, modifiers);
    if (press.produced) pushKey(press.character, press.code, control);
}

// The pane's pixel under a point of the output; false when the point is off the pane.
bool WindowBackend::toPane(int x, int y, int& paneX, int& paneY)
{
    int w = 0, h = 0;
    outputSize(w, h);
    const PaneView view = paneView(w, h, paneWidth_, paneHeight_, scrollX_, scrollY_);
    const Rect& pane = view.shown;
    if (pane.w <= 0 || pane.h <= 0) return false;
    paneX = view.source.x + static_cast<int>(std::floor(static_cast<double>(x - pane.x) * view.source.w / pane.w));
    paneY = view.source.y + static_cast<int>(std::floor(static_cast<double>(y - pane.y) * view.source.h / pane.h));
    return pane.contains(x, y);
}

void WindowBackend::scrollTo(int x, int y)
{
    const int oldX = scrollX_, oldY = scrollY_;
    scrollX_ = x;
    scrollY_ = y;
    currentView();  // holds the offsets to the pane
    if (scrollX_ != oldX || scrollY_ != oldY) frameDirty_ = true;
}

// A pane larger than the frame moves with the wheel (Shift, or a sideways wheel, across) unless
// the program takes the wheel, with the middle button dragged over it, and with its scroll bars:
// a press on a bar puts the thumb's middle there, a drag moves it.
bool WindowBackend::scrollEvent(const SDL_Event& event)
{
    if (openMenu_ >= 0 || shownBox() != nullptr) {
        scrollDrag_ = ScrollDrag::none;
        return false;
    }
    const PaneView view = currentView();
    const bool across = view.horizontalBar.w > 0, down = view.verticalBar.h > 0;
    if (!across && !down) {
        scrollDrag_ = ScrollDrag::none;
        return false;
    }
    // Pane pixels per pixel of bar.
    auto barScale = [&](bool horizontal) {
        const Rect& bar = horizontal ? view.horizontalBar : view.verticalBar;
        const int length = horizontal ? bar.w : bar.h;
        const int pane = horizontal ? paneWidth_ : paneHeight_;
        return length > 0 ? static_cast<double>(pane) / length : 1.0;
    };
    switch (event.type) {
    case SDL_MOUSEWHEEL: {
        if (pointerInput_) return false;
        int dx = event.wheel.x, dy = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
            dx = -dx;
            dy = -dy;
        }
        if ((SDL_GetModState() & KMOD_SHIFT) != 0 && dx == 0) std::swap(dx, dy);
        constexpr int step = 48;
        scrollTo(scrollX_ + dx * step, scrollY_ - dy * step);
        return true;
    }
    case SDL_MOUSEBUTTONDOWN: {
        int x = event.button.x, y = event.button.y;
        toOutput(x, y);
        dragFromX_ = x;
        dragFromY_ = y;
        if (event.button.button == SDL_BUTTON_MIDDLE && view.shown.contains(x, y)) {
            scrollDrag_ = ScrollDrag::pane;
            dragScrollX_ = scrollX_;
            dragScrollY_ = scrollY_;
            return true;
        }
        if (event.button.button != SDL_BUTTON_LEFT) return false;
        if (view.horizontalBar.contains(x, y)) {
            scrollDrag_ = ScrollDrag::across;
            scrollTo(static_cast<int>((x - view.horizontalBar.x) * barScale(true)) - view.source.w / 2, scrollY_);
        } else if (view.verticalBar.contains(x, y)) {
            scrollDrag_ = ScrollDrag::down;
            scrollTo(scrollX_, static_cast<int>((y - view.verticalBar.y) * barScale(false)) - view.source.h / 2);
        } else {
            return false;
        }
        dragScrollX_ = scrollX_;
        dragScrollY_ = scrollY_;
        return true;
    }
    case SDL_MOUSEMOTION: {
        if (scrollDrag_ == ScrollDrag::none) return false;
        int x = event.motion.x, y = event.motion.y;
        toOutput(x, y);
        if (scrollDrag_ == ScrollDrag::pane)
            scrollTo(dragScrollX_ - (x - dragFromX_), dragScrollY_ - (y - dragFromY_));
        else if (scrollDrag_ == ScrollDrag::across)
            scrollTo(dragScrollX_ + static_cast<int>((x - dragFromX_) * barScale(true)), scrollY_);
        else
            scrollTo(scrollX_, dragScrollY_ + static_cast<int>((y - dragFromY_) * barScale(false)));
        return true;
    }
    case SDL_MOUSEBUTTONUP:
        if (scrollDrag_ == ScrollDrag::none) return false;
        if ((scrollDrag_ == ScrollDrag::pane) != (event.button.button == SDL_BUTTON_MIDDLE)) return false;
        scrollDrag_ = ScrollDrag::none;
        return true;
    default:
        return false;
    }
}

// The left button and the wheel over the pane, and the motion of a drag that began there, go to
// a program that asked for them; never while a menu is open or a box is shown.
bool WindowBackend::pointerForProgram(const SDL_Event& event)
{
    if (!pointerInput_) return false;
    const bool free = openMenu_ < 0 && shownBox() == nullptr;
    InputEvent pointer;
    int x = 0, y = 0;
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT || !free) return false;
        x = event.button.x;
        y = event.button.y;
        toOutput(x, y);
        if (!toPane(x, y, pointer.x, pointer.y)) return false;
        pointer.kind = InputEvent::Kind::press;
        pointer.clicks = event.button.clicks;
        pointerHeld_ = true;
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT || !pointerHeld_) return false;
        x = event.button.x;
        y = event.button.y;
        toOutput(x, y);
        toPane(x, y, pointer.x, pointer.y);
        pointer.kind = InputEvent::Kind::release;
        pointer.clicks = event.button.clicks;
        pointerHeld_ = false;
        break;
    case SDL_MOUSEMOTION:
        if (!pointerHeld_) return false;
        x = event.motion.x;
        y = event.motion.y;
        toOutput(x, y);
        toPane(x, y, pointer.x, pointer.y);
        pointer.kind = InputEvent::Kind::motion;
        break;
    case SDL_MOUSEWHEEL: {
        if (!free || event.wheel.y == 0) return false;
        SDL_GetMouseState(&x, &y);
        toOutput(x, y);
        if (!toPane(x, y, pointer.x, pointer.y)) return false;
        pointer.kind = InputEvent::Kind::wheel;
        pointer.notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        break;
    }
    default:
        return false;
    }
    pushPointer(pointer);
    return true;
}

void WindowBackend::handleMenuKey(const SDL_KeyboardEvent& key)
{
    const SDL_Keycode sym = key.keysym.sym;
    const int count = static_cast<int>(menu_.size());
    if (openMenu_ >= count) {
        closeMenu();
        return;
    }
    if (sym == SDLK_ESCAPE) {
        closeMenu();
    } else if (sym == SDLK_UP) {
        moveHighlight(-1);
    } else if (sym == SDLK_DOWN) {
        moveHighlight(1);
    } else if (sym == SDLK_LEFT) {
        openMenu((openMenu_ + count - 1) % count, true);
    } else if (sym == SDLK_RIGHT) {
        openMenu((openMenu_ + 1) % count, true);
    } else if (isEnter(sym)) {
        const auto items = dropItems(openMenu_);
        if (items.empty())
            activate(&menu_[openMenu_]);
        else if (highlight_ >= 0 && highlight_ < static_cast<int>(items.size()))
            activate(items[highlight_]);
    } else if (const char access = accessKeyOf(sym); access != 0) {
        if ((key.keysym.mod & KMOD_ALT) != 0) {
            const int top = findTopByAccessKey(access);
            if (top >= 0) openMenu(top, true);
            return;
        }
        for (const MenuEntry* item : dropItems(openMenu_)) {
            if (parseMenuLabel(item->text).accessKey == access && isSelectable(*item)) {
                activate(item);
                return;
            }
        }
    }
}

void WindowBackend::handleMouseDown(int x, int y)
{
    if (Box* box = shownBox()) {
        const BoxLayout layout = layoutBox(*box);
        if (layout.ok.contains(x, y))
            dismissBox(1);
        else if (box->askToClose && layout.no.contains(x, y))
            dismissBox(0);
        return;
    }
    if (y >= 0 && y < menuBarHeight) {
        for (int i = 0; i < static_cast<int>(menu_.size()); ++i) {
            if (!topItemRect(i).contains(x, y)) continue;
            if (openMenu_ == i)
                closeMenu();
            else if (menu_[i].items.empty())
                activate(&menu_[i]);
            else
                openMenu(i, false);
            return;
        }
        closeMenu();
        return;
    }
    if (openMenu_ < 0) return;
    if (dropDownRect().contains(x, y)) {
        const auto items = dropItems(openMenu_);
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            if (dropItemRect(i).contains(x, y)) {
                activate(items[i]);
                return;
            }
        }
        return;
    }
    closeMenu();
}

void WindowBackend::handleMouseMotion(int x, int y)
{
    if (openMenu_ < 0 || shownBox() != nullptr) return;
    if (y >= 0 && y < menuBarHeight) {
        for (int i = 0; i < static_cast<int>(menu_.size()); ++i)
            if (i != openMenu_ && topItemRect(i).contains(x, y) && !menu_[i].items.empty()) openMenu(i, false);
        return;
    }
    const int count = static_cast<int>(dropItems(openMenu_).size());
    for (int i = 0; i < count; ++i) {
        if (dropItemRect(i).contains(x, y) && highlight_ != i) {
            highlight_ = i;
            frameDirty_ = true;
        }
    }
}

void WindowBackend::toOutput(int& x, int& y) const
{
    int windowW = 0, windowH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(window_, &windowW, &windowH);
    outputSize(outW, outH);
    if (windowW > 0 && windowH > 0 && (windowW != outW || windowH != outH)) {
        x = x * outW / windowW;
        y = y * outH / windowH;
    }
}

int WindowBackend::findTopByAccessKey(char key) const
{
    if (key == 0) return -1;
    for (int i = 0; i < static_cast<int>(menu_.size()); ++i)
        if (parseMenuLabel(menu_[i].text).accessKey == key && isSelectable(menu_[i])) return i;
    return -1;
}

void WindowBackend::openMenu(int index, bool highlightFirst)
{
    if (index < 0 || index >= static_cast<int>(menu_.size())) return;
    openMenu_ = index;
    highlight_ = -1;
    if (highlightFirst) moveHighlight(1);
    frameDirty_ = true;
}

void WindowBackend::closeMenu()
{
    if (openMenu_ >= 0) frameDirty_ = true;
    openMenu_ = -1;
    highlight_ = -1;
}

// Moves to the next selectable item in that direction, wrapping around.
void WindowBackend::moveHighlight(int step)
{
    if (openMenu_ < 0) return;
    const auto items = dropItems(openMenu_);
    const int count = static_cast<int>(items.size());
    int at = highlight_;
    for (int tried = 0; tried < count; ++tried) {
        at = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
        if (isSelectable(*items[at])) {
            highlight_ = at;
            frameDirty_ = true;
            return;
        }
    }
}

std::vector<const MenuEntry*> WindowBackend::dropItems(int top) const
{
    std::vector<const MenuEntry*> items;
    if (top < 0 || top >= static_cast<int>(menu_.size())) return items;
    const MenuEntry& menu = menu_[top];
    if (menu.items.empty()) return items;
    if (menu.handler != nullptr) items.push_back(&menu);
    for (const MenuEntry& item : menu.items) items.push_back(&item);
    return items;
}

// Runs the item's handler on this thread, after the menu has closed.
void WindowBackend::activate(const MenuEntry* entry)
{
    if (entry == nullptr || !isSelectable(*entry)) return;
    const MenuHandler handler = entry->handler;
    const bool checked = (entry->flags & 16) != 0;
    closeMenu();
    if (handler != nullptr) handler(checked);
}

} // namespace tarnova::sdl
