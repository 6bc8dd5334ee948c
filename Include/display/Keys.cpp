// The keyboard: one pending code of a key without a character.

#include "display/Layer.hpp"

namespace tarnova {

namespace keys {
namespace {
std::mutex pendingMutex;
int pendingCode = -1;
} // namespace

void resetPendingKey()
{
    std::lock_guard<std::mutex> guard(pendingMutex);
    pendingCode = -1;
}
} // namespace keys

int readKey()
{
    {
        std::lock_guard<std::mutex> guard(keys::pendingMutex);
        if (keys::pendingCode >= 0) {
            const int code = keys::pendingCode;
            keys::pendingCode = -1;
            return code;
        }
    }
    Backend* backend = nullptr;
    {
        auto guard = layer::lock();
        layer::state();
        layer::flushEcho();
        backend = displayState().backend;
    }
    // Without a frame there is no keyboard: every key reads as Enter.
    if (!backend) return 13;
    int code = 0;
    const int ch = backend->nextKey(code);
    if (ch == 0) {
        std::lock_guard<std::mutex> guard(keys::pendingMutex);
        keys::pendingCode = code;
    }
    return ch;
}

InputEvent Backend::nextInput()
{
    InputEvent event;
    event.character = nextKey(event.code);
    return event;
}

void setPointerInput(bool on)
{
    Backend* backend = nullptr;
    {
        auto guard = layer::lock();
        backend = displayState().backend;
    }
    if (backend) backend->setPointerInput(on);
}

InputEvent readInput()
{
    InputEvent event;
    {
        std::lock_guard<std::mutex> guard(keys::pendingMutex);
        if (keys::pendingCode >= 0) {
            event.code = keys::pendingCode;
            keys::pendingCode = -1;
            return event;
        }
    }
    Backend* backend = nullptr;
    {
        auto guard = layer::lock();
        layer::state();
        layer::flushEcho();
        backend = displayState().backend;
    }
    if (!backend) {
        event.character = 13;
        return event;
    }
    return backend->nextInput();
}

void postKey(int character, int code)
{
    Backend* backend = nullptr;
    {
        auto guard = layer::lock();
        backend = displayState().backend;
    }
    if (backend) backend->queueKey(character, code);
}

} // namespace tarnova
