// Program start and end: the backend on the main thread, the program body on its own thread,
// and the ways a program ends (its body returns, exitProgram, stopProgram, a record error).

#include "display/TestHooks.hpp"
#include "display/Layer.hpp"
#include "records/Records.hpp"
#include "commandLine.hpp"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

namespace tarnova {

namespace {

constexpr char stopMessage[] = "Stop - Program terminated.";
constexpr int stopStatus = 1;
constexpr int recordErrorStatus = 2;

// Thrown on the program's thread to unwind it to runProgram's wrapper. Deliberately not a
// std::exception, so that no handler of the program takes it for an ordinary error.
struct ProgramEnd {
    int status;
};

std::atomic<std::thread::id> programThread{};

// Writes lines to the text window without echoing them (they go to standard error directly).
void writeUnechoed(std::string_view text)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    layer::flushEcho();
    s.echoEnabled = false;
    if (s.column != 1) layer::newLineLocked();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        layer::writeTextLocked(text.substr(start, end - start));
        layer::newLineLocked();
        start = end + 1;
    }
    s.echoPending = false;
    s.echoLine.clear();
    s.echoEnabled = true;
}

// Records written to the screen unit: one line of the text window each.
void screenRecord(std::string_view record)
{
    auto guard = layer::lock();
    layer::writeTextLocked(record);
    if (layer::state().echoEnabled) layer::state().echoPending = true;
    layer::newLineLocked();
}

[[noreturn]] void recordError(const std::string& report)
{
    std::string text = report;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    writeUnechoed(text);
    text = escapeControlBytes(text, true);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
    exitProgram(recordErrorStatus);
}

// Runs the body and turns every way it can end into a status.
int runBody(void (*body)())
{
    int status = 0;
    try {
        if (body) body();
    } catch (const ProgramEnd& end) {
        status = end.status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Error: %s\n", escapeControlBytes(e.what(), true).c_str());
        status = stopStatus;
    } catch (...) {
        std::fprintf(stderr, "Error: the program ended by an unknown failure\n");
        status = stopStatus;
    }
    // Closing flushes the units; a failure there is a record error and ends with its status.
    try {
        closeAllUnits();
    } catch (const ProgramEnd& end) {
        if (status == 0) status = end.status;
    } catch (...) {
        if (status == 0) status = stopStatus;
    }
    {
        auto guard = layer::lock();
        layer::flushEcho();
        displayState().programEnded = true;
        layer::changed();
    }
    std::fflush(stdout);
    std::fflush(stderr);
    return status;
}

} // namespace

[[noreturn]] void exitProgram(int status)
{
    if (std::this_thread::get_id() == programThread.load()) throw ProgramEnd{status};
    // Not on a program thread (no runProgram): end the process directly. A record error while
    // closing comes back here; the units are not closed a second time.
    static std::atomic<bool> exiting{false};
    if (!exiting.exchange(true)) closeAllUnits();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(status);
}

[[noreturn]] void stopProgram(std::string_view detail)
{
    writeUnechoed(stopMessage);
    if (!detail.empty()) {
        const std::string shown = escapeControlBytes(detail, true) + "\n";
        std::fwrite(shown.data(), 1, shown.size(), stderr);
    }
    std::fprintf(stderr, "%s\n", stopMessage);
    std::fflush(stderr);
    exitProgram(stopStatus);
}

void Backend::textLine(std::string_view line)
{
    const std::string shown = escapeControlBytes(line) + "\n";
    std::fwrite(shown.data(), 1, shown.size(), stderr);
}

bool displayIsHeadless()
{
    auto guard = layer::lock();
    const Backend* backend = displayState().backend;
    return backend == nullptr || backend->headless();
}

void waitForExit()
{
    Backend* backend = nullptr;
    {
        auto guard = layer::lock();
        layer::state();
        layer::flushEcho();
        backend = displayState().backend;
    }
    if (backend) backend->waitForExit();
}

int runProgram(int argc, char** argv, const ProgramEntry& entry)
{
    // "--headless" chooses the backend and is not one of the program's own arguments.
    std::vector<std::string> arguments;
    bool headless = false;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && isHeadlessOption(argv[i])) headless = true;
        else arguments.emplace_back(argv[i]);
    }
    inspect::setArguments(std::move(arguments));
    const char* title = entry.name ? entry.name : "";

    int paneWidth = 1024, paneHeight = 768;
    std::unique_ptr<Backend> backend = headless ? nullptr : makeWindowBackend();
    if (!backend || !backend->open(title, paneWidth, paneHeight)) {
        backend = makeHeadlessBackend();
        paneWidth = 1024;
        paneHeight = 768;
        backend->open(title, paneWidth, paneHeight);
    }
    {
        auto guard = layer::lock();
        layer::initialise(paneWidth, paneHeight);
        auto& d = displayState();
        d.title = title;
        d.menuBar.clear();
        d.programEnded = false;
        d.backend = backend.get();
    }
    setScreenSink(screenRecord);
    setRecordErrorHandler(recordError);

    if (entry.menuSetup) entry.menuSetup();

    int status = 0;
    std::thread program([&] {
        programThread.store(std::this_thread::get_id());
        status = runBody(entry.body);
        programThread.store(std::thread::id{});
        backend->programEnded(status);
    });
    backend->run();
    program.join();
    {
        auto guard = layer::lock();
        displayState().backend = nullptr;
    }
    setScreenSink(nullptr);
    return status;
}

} // namespace tarnova
