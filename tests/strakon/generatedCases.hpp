#pragma once
// Case directories for comparing runs: the two examples and generated stiffened box sections with
// random option records.

#include "runStrakon.hpp"

#include <map>
#include <random>
#include <string>
#include <vector>

namespace strakontest {

struct Case {
    std::string name;
    std::map<std::string, std::string> files;   // written over the example's files, if any
    std::string example;                         // "tanker/TANKER" or "box/BOX", or empty
};

// A random stiffened box section (CASE.geo); `count` receives its element count.
std::string randomGeometry(std::mt19937& random, int& count);
std::string optionRecord(int behaviour, int shedding, int corrosion, double eta, double heel, int distortion);
// A generated case CASE (geometry, two steels, 2 to 6 random option records) named `name`.
Case generatedCase(std::mt19937& random, const std::string& name);

struct Outcome {
    RunResult run;
    std::map<std::string, std::string> files;   // every file of the directory after the run
};

// Runs Strakon headless on the case in a fresh directory with the environment variable set.
Outcome runCaseWith(const Case& c, const char* variable, const char* value);

} // namespace strakontest
