// A test program that drives one path of program start and end through the headless backend,
// chosen by its first argument:
//   keys           reads keys until "q" and prints their codes to standard output
//   exit N FILE    writes one record to FILE, then exitProgram(N)
//   stop           stopProgram with a detail
//   record-error   reads past the end of an empty file
//   screen         writes a record to the screen unit
//   wait           waits for Exit, then prints "waited"
//   unwritten FILE writes more to FILE than the file size limit lets reach it and returns with
//                  the unit still open

#include "display/Display.hpp"
#include "records/Records.hpp"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>

namespace {

using namespace tarnova;

int argumentCount = 0;
char** arguments = nullptr;

std::string argument(int i) { return i < argumentCount ? arguments[i] : ""; }

void body()
{
    const std::string mode = argument(1);
    if (mode == "keys") {
        for (;;) {
            const int key = readKey();
            std::printf("%d ", key);
            std::fflush(stdout);
            if (key == 'q') return;
        }
    }
    if (mode == "exit") {
        openUnit(31, argument(3));
        writeListRecord(31, {"kept"});
        exitProgram(std::atoi(argument(2).c_str()));
    }
    if (mode == "stop") stopProgram("An element has a nul area");
    if (mode == "record-error") {
        openUnit(32, argument(2));
        std::int32_t n = 0;
        readRecords(32, "(I2)", {n});
        std::printf("not reached\n");
    }
    if (mode == "screen") writeListRecord(screenUnit, {"hello", 42});
    if (mode == "unwritten") {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        openUnit(33, argument(2));
        for (int i = 0; i < 10; ++i) writeListRecord(33, {"a record of some forty characters ......"});
    }
    if (mode == "wait") {
        waitForExit();
        std::printf("waited\n");
    }
}

bool noMenu() { return true; }

} // namespace

int main(int argc, char** argv)
{
    argumentCount = argc;
    arguments = argv;
    return tarnova::runProgram(argc, argv, {"Probe", noMenu, body});
}
