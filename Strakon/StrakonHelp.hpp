#pragma once
// What "Strakon --help" prints; the manual page is made from it.

#include "commandLine.hpp"

#include <string_view>

namespace tarnova {

inline constexpr std::string_view strakonOwnOptions[] = {"--check", "--strict"};

inline constexpr std::string_view strakonHelpText =
R"(Usage: Strakon /path/CASE.ana
  or:  Strakon --check [--strict] /path/CASE.ana
  or:  Strakon --help | --version

Computes the ultimate longitudinal bending strength of a ship's hull girder by
progressive collapse, for every case study listed in the case's analysis
options file, and reports the moment-curvature curve of each.

The path names one file of the case, usually CASE.ana. Its directory becomes
the case directory ("/" and "\" both separate directories) and its name without
the extension, cut to 8 characters, the case name. All files are read and
written in the case directory.

Options:
  --check     read and check the three case files, report every problem,
              compute and write nothing; status 0 when clean, 1 otherwise.
              Geometry warnings follow (also on standard error): elements on
              one spot or far outside the breadth or depth, orientations not
              1 to 4, implausible yield stresses and moduli, slender plates
              and webs, property sets unused or missing; each names the
              typing slip it may be. They do not change the status
  --strict    with --check: count the geometry warnings as problems
  --help      print this help and exit
  --version   print the version and exit

Files read:
  CASE.ana    analysis options: the number of case studies and one option
              record per case study
  CASE.geo    section geometry: title, header and one record per element
              (at most 600)
  CASE.pro    material properties: yield stress and Young's modulus of each
              property set (at most 5)

Files written:
  CASE.rst    report: the options, section properties and ultimate bending
              moment of each case study
  jc*         case results file of each case study, named after its options
              (for example jc310415.030), with the step-by-step curve
  CASE.teA    element curve file of the first case study (teB of the second,
              and so on), read by Pickara and Curvella
  AT.T        tripping stresses of the elements
  lixo.tmp    trace of what was read and derived

With a display reachable the program opens a window, shows its progress and,
when done, waits for Window > Exit. With none it runs headless: messages go to
standard error, keys are read from standard input, and the wait for Exit ends
when standard input is exhausted.

Exit status:
  0   the run is complete (or was cut short with Exit after a case study)
  1   an input file is missing or empty, an input value is rejected, a
      directory cannot be read, or the calculation stopped
  2   a fixed-column record could not be read or written (the message names
      the file, record, columns and field text)
  3   the window was closed while the program worked

Records written before a stop stay in their files. The case files are
described in /usr/share/doc/tarnova/case-files.md.
)";

inline constexpr ProgramHelp strakonHelp{"Strakon", strakonHelpText, strakonOwnOptions};

} // namespace tarnova
