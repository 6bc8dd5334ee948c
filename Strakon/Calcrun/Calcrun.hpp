#pragma once
// Calcrun: the engineering engine of the collapse calculator. For one case study it reads the
// option record, the section geometry and materials, computes the tripping stresses, the elastic
// and plastic section properties and the 50-step progressive collapse, and writes every record of
// the report, the case results file, "AT.T", "lixo.tmp" and the element curve file.
//
// The engine has no display dependency: it draws the progress of the iteration through
// CollapseProgress and ends a run through the stop handler, both supplied by the driver.

#include <string_view>

namespace tarnova {

// Progress of the collapse iteration, drawn by the driver in the graphics pane. H is the
// paneHeight given to runCase.
struct CollapseProgress {
    virtual ~CollapseProgress() = default;
    // Once per case study, before step 1: setColour(11); drawRectangle(2, 40, H - 132, 145, H - 90);
    // moveTo(47, H - 118); drawGraphicText("Position n.").
    virtual void boxStarted() = 0;
    // After each converged step k (1..50): the texts are k (and k - 1) formatted with "(I2)" into
    // 3 characters. When k > 1: moveTo(124, H - 118); setColour(0); drawGraphicText(text of k - 1).
    // Then moveTo(124, H - 118); setColour(11); drawGraphicText(text of k).
    virtual void stepShown(int step) = 0;
};

// Ends the run: the driver shows `detail` and ends the program with a non-zero status
// (stopProgram(detail) does both: text window and standard error). Must not return; it may throw
// (tests do). Called for:
//   - input rejected before any table is written (file, record and value named),
//   - an element count that differs from the one the geometry file declares,
//   - an element of nul area: the engine has already written "AREA OF ELEMENT N." n " IS NUL" as a
//     list-form record on the screen unit; `detail` repeats it with the case study and step,
//   - more than 60 unconverged iterations in a step (`detail` names case study and step).
// Records written before the stop stay in their files. Without a handler the engine writes
// `detail` to standard error and exits with status 3.
using StopHandler = void (*)(std::string_view detail);
void setStopHandler(StopHandler handler);

// One case study, in this order: Poisson's ratio 0.3, option record (reads the next record of
// unit 21, opens unit 5 on the case results file), section model (opens and closes units 2 and 3 on
// "<case>.geo" and "<case>.pro" in the current directory, writes the head of unit 25), tripping
// stresses ("AT.T" on unit 2), section properties, progressive collapse.
// Expects units 21 (options, past the records already read), 22 (report), 24 ("lixo.tmp") and 25
// (element curve file) open. Unit 5 stays open; the driver closes it after the case.
//   caseName     trimmed case name: the stem of the .geo and .pro files
//   caseStudy    number of the case study (1..), only for the stop messages
//   result1      ultimate bending moment, N.mm
//   result2      curvature of the last step, 1/mm
//   elasticMoment, plasticMoment  first-yield and fully plastic moments, N.mm
//   paneHeight   height of the graphics pane, passed on to nothing but the progress texts
void runCase(std::string_view caseName, int caseStudy, float& result1, float& result2,
             float& elasticMoment, float& plasticMoment, int paneHeight, CollapseProgress& progress);

} // namespace tarnova
