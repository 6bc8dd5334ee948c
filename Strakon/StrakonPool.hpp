#pragma once
// Case studies computed side by side. Each case study runs on a pool thread with a run context
// and a unit table of its own that captures its records; the driver replays them on the program's
// units in case-study order, so every file is what a one-thread run writes.

#include "Calcrun/Calcrun.hpp"

#include <memory>
#include <string>
#include <string_view>

namespace tarnova {

// How many case studies to compute at once: TARNOVA_THREADS when it is a positive number, else
// the machine's hardware threads.
int caseStudyThreads();

class CaseStudyPool {
public:
    // Starts computing the case studies of "<caseName>.ana" in the current directory on `threads`
    // threads, a few ahead of the one being replayed. The case count is read from the file's first
    // record (0 when it cannot be read: the driver's own read reports it).
    CaseStudyPool(std::string_view caseName, int threads);
    // Drops the work on later case studies and waits for the threads.
    ~CaseStudyPool();
    CaseStudyPool(const CaseStudyPool&) = delete;
    CaseStudyPool& operator=(const CaseStudyPool&) = delete;

    // Replays case study k (opening its element curve file on unit 25 onwards) on the program's
    // units as its records come, its progress going to `progress`; returns once it is complete.
    // A stop ends the program as stopProgram does, a record error as the program's units raise
    // it, after the records a one-thread run would have written. Case studies are replayed in
    // order, each once.
    void replayCase(int caseStudy, CollapseProgress& progress);

    // The case count the pool read.
    int caseCount() const;

    struct Shared;

private:
    std::unique_ptr<Shared> shared_;
};

} // namespace tarnova
