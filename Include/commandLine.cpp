// The options every program answers before it opens its window.

#include "commandLine.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

#ifndef TARNOVA_VERSION
#error "the build sets TARNOVA_VERSION"
#endif

namespace tarnova {

namespace {

constexpr int successStatus = 0;
constexpr int failureStatus = 1;

// Writes the text to standard output and makes sure it arrived (a full disk or a closed pipe
// must not pass as a printed help).
int printText(std::string_view programName, std::string_view text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) != 0 || !written || std::ferror(stdout)) {
        std::fprintf(stderr, "%.*s: cannot write to standard output\n",
                     static_cast<int>(programName.size()), programName.data());
        return failureStatus;
    }
    return successStatus;
}

} // namespace

bool isHeadlessOption(std::string_view argument)
{
    return argument == headlessOption;
}

std::string_view suiteVersion()
{
    return TARNOVA_VERSION;
}

std::string versionLine()
{
    return std::string(suiteVersion()) + " (revision " + std::string(buildRevision()) + ")";
}

std::optional<int> answerCommandLine(int argc, char** argv, const ProgramHelp& help)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!argument.starts_with("--"))
            continue;
        if (argument == "--help")
            return printText(help.name, help.text);
        if (argument == "--version") {
            const std::string line = std::string(help.name) + " (TARNOVA) " + versionLine() + "\n";
            return printText(help.name, line);
        }
        if (argument == headlessOption ||
            std::ranges::find(help.ownOptions, argument) != help.ownOptions.end())
            continue;
        std::fprintf(stderr, "%.*s: unknown option \"%.*s\"; \"%.*s --help\" lists the options\n",
                     static_cast<int>(help.name.size()), help.name.data(),
                     static_cast<int>(argument.size()), argument.data(),
                     static_cast<int>(help.name.size()), help.name.data());
        return failureStatus;
    }
    return std::nullopt;
}

} // namespace tarnova
