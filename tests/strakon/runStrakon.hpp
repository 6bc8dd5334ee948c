#pragma once
// Runs the built calculator headless on a temporary case directory and reads what it wrote.

#include <filesystem>
#include <string>
#include <vector>

namespace strakontest {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;     // exit status, or -1 when the program did not exit normally
    std::string errors;  // standard error
    std::string output;  // standard output
};

// A fresh directory under the system's temporary directory, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Runs Strakon with the arguments from the working directory, standard input from /dev/null
// (or the given text), without a display.
RunResult runStrakon(const fs::path& workingDirectory, const std::vector<std::string>& arguments,
                     const std::string& input = {});

// Copies an example case (tanker/TANKER or box/BOX) into the directory under the stem given.
void copyExample(const std::string& example, const fs::path& directory, const std::string& stem);

// Writes the 600-element case LARGE.* into the directory.
void makeLargeCase(const fs::path& directory);

std::string readFile(const fs::path& file);
void writeFile(const fs::path& file, const std::string& text);
// The records of a file, without their line ends.
std::vector<std::string> readRecords(const fs::path& file);

// One number of a record, by its columns (from 1, inclusive).
double field(const std::string& record, int first, int last);

} // namespace strakontest
