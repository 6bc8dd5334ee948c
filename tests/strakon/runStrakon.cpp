#include "runStrakon.hpp"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace strakontest {

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

} // namespace

TempDir::TempDir()
{
    std::random_device random;
    path_ = fs::temp_directory_path() / ("strakon-" + std::to_string(random()));
    fs::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

RunResult runStrakon(const fs::path& workingDirectory, const std::vector<std::string>& arguments,
                     const std::string& input)
{
    const fs::path scratch = fs::temp_directory_path() /
                             ("strakon-run-" + std::to_string(std::random_device{}()));
    fs::create_directories(scratch);
    const fs::path errors = scratch / "stderr.txt";
    const fs::path output = scratch / "stdout.txt";
    std::string inputRedirect = "</dev/null";
    if (!input.empty()) {
        writeFile(scratch / "stdin.txt", input);
        inputRedirect = "<" + quoted((scratch / "stdin.txt").string());
    }
    std::string command = "cd " + quoted(workingDirectory.string()) +
                          " && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                          quoted(STRAKON_PROGRAM);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " " + inputRedirect + " >" + quoted(output.string()) + " 2>" + quoted(errors.string());

    RunResult result;
    const int raw = std::system(command.c_str());
    if (raw != -1 && WIFEXITED(raw))
        result.status = WEXITSTATUS(raw);
    result.errors = readFile(errors);
    result.output = readFile(output);
    fs::remove_all(scratch);
    return result;
}

void copyExample(const std::string& example, const fs::path& directory, const std::string& stem)
{
    const fs::path source = fs::path(EXAMPLES_DIR) / example;
    for (const char* extension : {".ana", ".geo", ".pro"}) {
        fs::copy_file(source.string() + extension, directory / (stem + extension),
                      fs::copy_options::overwrite_existing);
    }
}

void makeLargeCase(const fs::path& directory)
{
    fs::copy_file(fs::path(EXAMPLES_DIR) / "large" / "LARGE.sec", directory / "LARGE.sec",
                  fs::copy_options::overwrite_existing);
    const std::string command = quoted(SAGOMA_PROGRAM) + " --force " +
                                quoted((directory / "LARGE.sec").string()) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("Sagoma LARGE.sec failed");
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary);
    out << text;
}

std::vector<std::string> readRecords(const fs::path& file)
{
    std::vector<std::string> records;
    std::istringstream in(readFile(file));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        records.push_back(line);
    }
    return records;
}

double field(const std::string& record, int first, int last)
{
    if (static_cast<int>(record.size()) < last)
        throw std::runtime_error("record too short: \"" + record + "\"");
    std::string text = record.substr(first - 1, last - first + 1);
    // Exponent fields without the letter (".123+100") never occur at these magnitudes.
    return std::stod(text);
}

} // namespace strakontest
