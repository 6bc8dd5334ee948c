// The headless backend end to end: the demonstration program and the probe run as child
// processes with their standard input from a pipe or /dev/null.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct ChildRun {
    int status = -1;            // exit status; -1 when killed after the time limit
    double seconds = 0;
    std::string out;
    std::string err;
};

std::string slurp(const std::filesystem::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs the program with `input` on standard input (/dev/null when null), at most 10 s.
ChildRun runChild(const std::vector<std::string>& args, const std::optional<std::string>& input)
{
    const auto dir = std::filesystem::temp_directory_path();
    const auto outPath = dir / ("displayTest.out." + std::to_string(getpid()));
    const auto errPath = dir / ("displayTest.err." + std::to_string(getpid()));
    int pipeFds[2] = {-1, -1};
    if (input && pipe(pipeFds) != 0) return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (input) {
            dup2(pipeFds[0], 0);
            close(pipeFds[0]);
            close(pipeFds[1]);
        } else {
            std::freopen("/dev/null", "r", stdin);
        }
        std::freopen(outPath.c_str(), "w", stdout);
        std::freopen(errPath.c_str(), "w", stderr);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "offscreen-none", 1);
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (input) {
        close(pipeFds[0]);
        ssize_t ignored = write(pipeFds[1], input->data(), input->size());
        (void)ignored;
        close(pipeFds[1]);
    }
    ChildRun r;
    int status = 0;
    for (;;) {
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(10)) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            r.status = -1;
            r.seconds = 10;
            return r;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = slurp(outPath);
    r.err = slurp(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return r;
}

const std::string demo = DISPLAY_DEMO;
const std::string probe = DISPLAY_PROBE;

TEST(Headless, DemoEndsByItselfWhenInputIsEmpty)
{
    const ChildRun r = runChild({demo}, std::nullopt);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_LT(r.seconds, 1.0);
    EXPECT_NE(r.err.find("Display demonstration"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Press any key to continue"), std::string::npos) << r.err;
}

TEST(Headless, PipedKeysAreReadInOrder)
{
    // LF and CR read as 13 (CR LF is one key); a zero byte announces an extended code.
    const char input[] = "a\nb\r\nc\0Hq";
    const ChildRun r = runChild({probe, "keys"}, std::string(input, sizeof input - 1));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "97 13 98 13 99 0 72 113 ");
}

TEST(Headless, ExhaustedInputGivesOneEnterThenStops)
{
    const ChildRun r = runChild({probe, "keys"}, "x");
    EXPECT_EQ(r.out, "120 13 ");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("Stop - Program terminated."), std::string::npos) << r.err;
    EXPECT_LT(r.seconds, 2.0);
}

TEST(Headless, ProgramEndsWithItsStatusAndKeepsWrittenRecords)
{
    const auto file = std::filesystem::temp_directory_path() / "displayTestKept.txt";
    std::filesystem::remove(file);
    const ChildRun r = runChild({probe, "exit", "3", file.string()}, std::nullopt);
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(slurp(file).find("kept"), std::string::npos);
    std::filesystem::remove(file);

    const ChildRun stopped = runChild({probe, "stop"}, std::nullopt);
    EXPECT_EQ(stopped.status, 1);
    const auto detail = stopped.err.find("An element has a nul area");
    const auto stop = stopped.err.find("Stop - Program terminated.");
    ASSERT_NE(detail, std::string::npos) << stopped.err;
    ASSERT_NE(stop, std::string::npos);
    EXPECT_LT(detail, stop);
    EXPECT_EQ(stopped.err.find("Stop - Program terminated.", stop + 1), std::string::npos) << "reported twice";
}

TEST(Headless, RecordErrorIsReportedWithANonZeroStatus)
{
    const auto file = std::filesystem::temp_directory_path() / "displayTestEmpty.txt";
    { std::ofstream out(file); }
    const ChildRun r = runChild({probe, "record-error", file.string()}, std::nullopt);
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out.find("not reached"), std::string::npos);
    EXPECT_NE(r.err.find("Run-time error"), std::string::npos) << r.err;
    std::filesystem::remove(file);
}

TEST(Headless, RecordsLostAtTheProgramsEndAreAnErrorNotASuccess)
{
    const auto file = std::filesystem::temp_directory_path() / ("displayTestFull.txt." + std::to_string(getpid()));
    const ChildRun r = runChild({probe, "unwritten", file.string()}, std::nullopt);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("CLOSE on unit 33"), std::string::npos) << r.err;
    std::filesystem::remove(file);
}

TEST(Headless, ScreenRecordsGoToTheTextWindow)
{
    const ChildRun r = runChild({probe, "screen"}, std::nullopt);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("hello"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("hello"), std::string::npos);
}

TEST(Headless, WaitForExitEndsWhenInputIsExhausted)
{
    const ChildRun r = runChild({probe, "wait"}, "some unread keys\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "waited\n");
    EXPECT_LT(r.seconds, 1.0);
}

} // namespace
