// The headless backend, used when no display can be opened: keys come from standard input,
// message boxes and the text window's lines go to standard error, and the wait for Exit ends
// when standard input is exhausted. A piped run therefore never hangs in a prompt.
//
// Keys: each byte is a key; a line feed reads as Enter (13), and so does a carriage return
// (a CR LF pair is one Enter). A zero byte followed by a byte is a key without a character
// whose code is that byte. When the input is exhausted the first key read is Enter and a
// later one stops the program.

#include "display/Backend.hpp"

#include "Utilitar.hpp"
#include "records/Records.hpp"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <thread>
#include <unistd.h>

namespace tarnova {

namespace {

constexpr int paneWidth = 1024;
constexpr int paneHeight = 768;
constexpr int enterKey = 13;

// Bytes read from standard input by a reader thread. Shared with that thread, which may still
// be blocked in a read when the program ends.
struct Input {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<unsigned char> bytes;
    bool ended = false;
};

std::shared_ptr<Input> standardInput()
{
    static std::shared_ptr<Input> input = [] {
        auto in = std::make_shared<Input>();
        std::thread([in] {
            unsigned char buffer[256];
            for (;;) {
                const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR) continue;
                std::lock_guard<std::mutex> guard(in->mutex);
                if (n <= 0) {
                    in->ended = true;
                    in->arrived.notify_all();
                    break;
                }
                in->bytes.insert(in->bytes.end(), buffer, buffer + n);
                in->arrived.notify_all();
            }
            stopWaitingForExit();
        }).detach();
        return in;
    }();
    return input;
}

class HeadlessBackend final : public Backend {
public:
    bool open(std::string_view, int& width, int& height) override
    {
        width = paneWidth;
        height = paneHeight;
        return true;
    }

    void run() override
    {
        std::unique_lock<std::mutex> guard(mutex_);
        endedCondition_.wait(guard, [this] { return ended_; });
    }

    void changed() override {}

    int messageBox(std::string_view text, std::string_view caption, int) override
    {
        const std::string shown =
            escapeControlBytes(caption, true) + ": " + escapeControlBytes(text, true) + "\n";
        std::fwrite(shown.data(), 1, shown.size(), stderr);
        std::fflush(stderr);
        return 1;
    }

    int nextKey(int& code) override
    {
        auto in = standardInput();
        std::unique_lock<std::mutex> guard(in->mutex);
        for (;;) {
            in->arrived.wait(guard, [&] { return !in->bytes.empty() || in->ended; });
            if (in->bytes.empty()) break;
            const unsigned char b = in->bytes.front();
            in->bytes.pop_front();
            const bool afterReturn = lastWasReturn_;
            lastWasReturn_ = b == '\r';
            if (b == '\n' && afterReturn) continue;
            if (b == '\n' || b == '\r') return enterKey;
            if (b == 0) {
                in->arrived.wait(guard, [&] { return !in->bytes.empty() || in->ended; });
                code = 0;
                if (!in->bytes.empty()) {
                    code = in->bytes.front();
                    in->bytes.pop_front();
                }
                return 0;
            }
            return b;
        }
        if (!endKeyGiven_) {
            endKeyGiven_ = true;
            return enterKey;
        }
        guard.unlock();
        stopProgram("No more input: standard input ended while a key was awaited.");
    }

    void waitForExit() override
    {
        auto in = standardInput();
        for (;;) {
            {
                std::lock_guard<std::mutex> guard(in->mutex);
                if (in->ended) return;
            }
            if (waitForExitRequest()) return;
        }
    }

    void queueKey(int character, int code) override
    {
        auto in = standardInput();
        std::lock_guard<std::mutex> guard(in->mutex);
        if (character == 0) in->bytes.push_back(0);
        in->bytes.push_back(static_cast<unsigned char>(character == 0 ? code : character));
        in->arrived.notify_all();
    }

    void programEnded(int) override
    {
        std::lock_guard<std::mutex> guard(mutex_);
        ended_ = true;
        endedCondition_.notify_all();
    }

    void toggleFullScreen() override {}
    void windowCommand() override {}

    bool headless() const override { return true; }

private:
    std::mutex mutex_;
    std::condition_variable endedCondition_;
    bool ended_ = false;
    bool lastWasReturn_ = false;
    bool endKeyGiven_ = false;
};

} // namespace

std::unique_ptr<Backend> makeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

} // namespace tarnova
