#pragma once
// Helpers shared by the record tests: formatting into a string, a scratch directory, and an
// error handler that turns a run-time error of the record layer into an exception.

#include "records/Records.hpp"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace tarnova::testing {

struct RecordError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline void throwingHandler(const std::string& report) { throw RecordError(report); }

// Installs the throwing handler for the lifetime of the object.
struct CatchRecordErrors {
    CatchRecordErrors() { setRecordErrorHandler(throwingHandler); }
    ~CatchRecordErrors()
    {
        closeAllUnits();
        setRecordErrorHandler(nullptr);
    }
};

// The record that a format writes for the items (wide enough for every table entry).
inline std::string format(std::string_view fmt, std::initializer_list<WriteItem> items, std::size_t length = 200)
{
    FixedText text(length);
    formatToText(text, fmt, items);
    return std::string(text.trimmed());
}

// A fresh directory per test; the test runs inside it.
struct ScratchDirectory {
    std::filesystem::path path;
    std::filesystem::path previous;
    explicit ScratchDirectory(const std::string& name)
    {
        // CTest runs tests in parallel processes: the process id keeps their directories apart.
        path = std::filesystem::temp_directory_path() / ("tarnova_records_" + name + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(path);
    }
    ~ScratchDirectory()
    {
        closeAllUnits();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(path);
    }
};

inline std::string fileBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void putFile(const std::string& name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary);
    out << bytes;
}

} // namespace tarnova::testing
