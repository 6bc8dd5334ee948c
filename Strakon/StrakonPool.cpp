#include "StrakonPool.hpp"

#include "casePaths.hpp"
#include "StrakonRun.hpp"
#include "display/Display.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tarnova {

namespace {

// Thrown on a pool thread to drop a case study nobody will replay.
struct Dropped {};

constexpr int boxStartedMark = 0;   // marks 1..50 are the steps

} // namespace

int caseStudyThreads()
{
    if (const char* text = std::getenv("TARNOVA_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && n >= 1) return static_cast<int>(std::min(n, 256L));
    }
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 0 ? static_cast<int>(hardware) : 1;
}

// One case study's way from its pool thread to the driver.
struct Study {
    std::vector<RecordUnits::Journal> published;   // records not yet replayed, batch by batch
    bool finished = false;
    enum class End { complete, stopped, recordError, failed } end = End::complete;
    std::string message;              // the stop's text, the composed report or the failure
};

struct CaseStudyPool::Shared {
    std::string caseName;
    int caseCount = 0;
    int window = 0;                   // case studies computed ahead of the one replayed
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Study> studies;       // index k - 1
    int nextToStart = 1;
    std::atomic<int> nextToReplay{1};
    std::atomic<bool> dropped{false};
    std::vector<std::thread> threads;

    void work();
    void run(int k);
};

namespace {

// Progress of a captured case study: marks in its journal, handed over to the driver at each.
class CapturedProgress final : public CollapseProgress {
public:
    CapturedProgress(CaseStudyPool::Shared& shared, int caseStudy, Study& study, RecordUnits& units)
        : shared_(shared), caseStudy_(caseStudy), study_(study), units_(units)
    {
    }
    void boxStarted() override { handOver(boxStartedMark); }
    void stepShown(int step) override { handOver(step); }

    // Moves what the case study has written so far to the driver.
    void publish(bool finished)
    {
        RecordUnits::Journal taken = units_.takeJournal();
        {
            std::lock_guard<std::mutex> lock(shared_.mutex);
            study_.published.push_back(std::move(taken));
            study_.finished = finished;
        }
        shared_.changed.notify_all();
    }

private:
    void handOver(int mark)
    {
        if (shared_.dropped.load()) throw Dropped{};
        units_.mark(mark);
        // Only the case study being replayed hands its records over step by step (the progress
        // shows them as they come); the others keep them until they are complete.
        if (shared_.nextToReplay.load() != caseStudy_) return;
        publish(false);
    }

    CaseStudyPool::Shared& shared_;
    int caseStudy_;
    Study& study_;
    RecordUnits& units_;
};

} // namespace

void CaseStudyPool::Shared::run(int k)
{
    Study& study = studies[static_cast<std::size_t>(k - 1)];
    RecordUnits units(RecordUnits::Mode::capture);
    CapturedProgress progress(*this, k, study, units);
    Study::End end = Study::End::complete;
    std::string message;
    try {
        // The option records before this case study's own are read past; the case count first.
        units.openForReading(optionsUnit, caseName + ".ana", 1);
        units.openUnit(curveUnit, curveFileName(caseName, k));
        units.rewindUnit(curveUnit);
        CaseRunner runner(units);
        float result1 = 0, result2 = 0, elasticMoment = 0, plasticMoment = 0;
        runner.runCaseAfterOthers(caseName, k, result1, result2, elasticMoment, plasticMoment, 0, progress);
    } catch (const Dropped&) {
        return;
    } catch (const CaseStudyStopped& stop) {
        end = Study::End::stopped;
        message = stop.what();
    } catch (const RecordError& error) {
        end = Study::End::recordError;
        message = error.composed;
    } catch (const std::exception& e) {
        end = Study::End::failed;
        message = e.what();
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        study.end = end;
        study.message = std::move(message);
    }
    progress.publish(true);
}

void CaseStudyPool::Shared::work()
{
    for (;;) {
        int k = 0;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] {
                return dropped.load() || nextToStart > caseCount || nextToStart < nextToReplay + window;
            });
            if (dropped.load() || nextToStart > caseCount) return;
            k = nextToStart++;
        }
        run(k);
    }
}

CaseStudyPool::CaseStudyPool(std::string_view caseName, int threads) : shared_(std::make_unique<Shared>())
{
    Shared& s = *shared_;
    std::int32_t caseCount = 0;
    try {
        RecordUnits options(RecordUnits::Mode::capture);
        options.openForReading(optionsUnit, std::string(caseName) + ".ana", 0);
        options.readRecords(optionsUnit, "(I2)", {caseCount});
    } catch (const RecordError&) {
        caseCount = 0;
    }
    caseCount = std::max(caseCount, 0);
    s.caseName = std::string(caseName);
    s.caseCount = caseCount;
    // Finished case studies wait for the replay with their records in memory (a few MB each).
    s.window = 2 * threads + 2;
    s.studies.resize(static_cast<std::size_t>(caseCount));
    for (int i = 0; i < threads && i < caseCount; ++i) s.threads.emplace_back([&s] { s.work(); });
}

int CaseStudyPool::caseCount() const { return shared_->caseCount; }

CaseStudyPool::~CaseStudyPool()
{
    shared_->dropped.store(true);
    shared_->changed.notify_all();
    for (std::thread& t : shared_->threads) t.join();
}

void CaseStudyPool::replayCase(int k, CollapseProgress& progress)
{
    Shared& s = *shared_;
    Study& study = s.studies[static_cast<std::size_t>(k - 1)];
    auto onMark = [](void* user, int mark) {
        auto& p = *static_cast<CollapseProgress*>(user);
        if (mark == boxStartedMark) p.boxStarted();
        else p.stepShown(mark);
    };
    for (;;) {
        std::vector<RecordUnits::Journal> batches;
        bool finished = false;
        {
            std::unique_lock<std::mutex> lock(s.mutex);
            s.changed.wait(lock, [&] { return study.finished || !study.published.empty(); });
            std::swap(batches, study.published);
            finished = study.finished;
        }
        // The display and the files are the driver's: both are touched on this thread only.
        for (const RecordUnits::Journal& batch : batches) defaultUnits().replay(batch, onMark, &progress);
        if (finished) break;
    }
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.nextToReplay = k + 1;
    }
    s.changed.notify_all();
    switch (study.end) {
    case Study::End::complete: return;
    case Study::End::stopped:
        s.dropped.store(true);
        stopProgram(study.message);
    case Study::End::recordError:
        s.dropped.store(true);
        defaultUnits().raiseComposed(study.message);
    case Study::End::failed:
        s.dropped.store(true);
        throw std::runtime_error(study.message);
    }
}

} // namespace tarnova
