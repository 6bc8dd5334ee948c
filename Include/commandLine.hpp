#pragma once
// The options every program answers before it opens its window: "--help" prints the program's
// help text, "--version" its version and build revision, both to standard output with status 0.
// Any other argument that begins with "--" is refused with a message and status 1, unless it is
// "--headless" (every program runs without a window then, whatever display is reachable) or the
// program names it as an option it handles itself. Every other argument is left to the program.

#include <optional>
#include <span>
#include <string_view>

namespace tarnova {

struct ProgramHelp {
    std::string_view name;                          // the program's name, as in "Strakon"
    std::string_view text;                          // the whole help text, ending in a line feed
    std::span<const std::string_view> ownOptions = {};   // "--" options the program reads itself
};

inline constexpr std::string_view headlessOption = "--headless";
bool isHeadlessOption(std::string_view argument);

// The suite's version, as the build sets it.
std::string_view suiteVersion();
// The git revision the program was built from ("unknown" outside a git checkout), with
// "-dirty" when the checkout held uncommitted changes.
std::string_view buildRevision();
// "1.0.0 (revision 0123abcd4567)": what every output with room for it carries.
std::string versionLine();

// Answers "--help" and "--version" and refuses unknown "--" options, looking at the arguments in
// order and acting on the first that decides. Returns the status to end with, or nothing when
// the program should go on. A help or version text that cannot be written is a failure.
std::optional<int> answerCommandLine(int argc, char** argv, const ProgramHelp& help);

} // namespace tarnova
