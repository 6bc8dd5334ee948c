#include "display/sdl/keyCodes.hpp"

namespace tarnova::sdl {

namespace {

// Navigation and function keys; also the keypad when Num Lock is off.
int navigationCode(SDL_Keycode key, bool numLock)
{
    switch (key) {
    case SDLK_UP: return scanCode::up;
    case SDLK_DOWN: return scanCode::down;
    case SDLK_LEFT: return scanCode::left;
    case SDLK_RIGHT: return scanCode::right;
    case SDLK_HOME: return scanCode::home;
    case SDLK_END: return scanCode::end;
    case SDLK_PAGEUP: return scanCode::pageUp;
    case SDLK_PAGEDOWN: return scanCode::pageDown;
    case SDLK_INSERT: return scanCode::insert;
    case SDLK_DELETE: return scanCode::del;
    case SDLK_F11: return scanCode::f11;
    case SDLK_F12: return scanCode::f12;
    default: break;
    }
    if (key >= SDLK_F1 && key <= SDLK_F10) return scanCode::f1 + static_cast<int>(key - SDLK_F1);
    if (numLock) return 0;
    switch (key) {
    case SDLK_KP_8: return scanCode::up;
    case SDLK_KP_2: return scanCode::down;
    case SDLK_KP_4: return scanCode::left;
    case SDLK_KP_6: return scanCode::right;
    case SDLK_KP_7: return scanCode::home;
    case SDLK_KP_1: return scanCode::end;
    case SDLK_KP_9: return scanCode::pageUp;
    case SDLK_KP_3: return scanCode::pageDown;
    case SDLK_KP_0: return scanCode::insert;
    case SDLK_KP_PERIOD: return scanCode::del;
    default: return 0;
    }
}

} // namespace

KeyPress translateKeyDown(SDL_Keycode key, unsigned modifiers)
{
    const bool shift = (modifiers & KMOD_SHIFT) != 0;
    const bool ctrl = (modifiers & KMOD_CTRL) != 0;
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return {true, 13, 0};
    case SDLK_BACKSPACE: return {true, 8, 0};
    case SDLK_ESCAPE: return {true, 27, 0};
    case SDLK_TAB: return shift ? KeyPress{true, 0, scanCode::backTab} : KeyPress{true, 9, 0};
    default: break;
    }
    // Control letters give the control characters 1 to 26, as on the classic keyboard; the
    // window system sends no text for them.
    if (ctrl && key >= SDLK_a && key <= SDLK_z) return {true, static_cast<int>(key - SDLK_a) + 1, 0};
    const int code = navigationCode(key, (modifiers & KMOD_NUM) != 0);
    if (code != 0) return {true, 0, code};
    return {};
}

std::vector<int> textInputCharacters(const char* utf8)
{
    std::vector<int> result;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s != 0) {
        if (*s < 0x80) {
            result.push_back(*s++);
        } else {
            ++s;  // skip the whole sequence: lead byte, then its continuation bytes
            while ((*s & 0xC0) == 0x80) ++s;
        }
    }
    return result;
}

} // namespace tarnova::sdl
