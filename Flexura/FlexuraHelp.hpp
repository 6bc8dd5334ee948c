#pragma once
// What "Flexura --help" prints; the manual page is made from it.

#include "commandLine.hpp"

#include <string_view>

namespace tarnova {

inline constexpr std::string_view flexuraHelpText =
R"(Usage: Flexura /path/CASE.ana
  or:  Flexura --help | --version

Shows the whole hull section of a case that Strakon has calculated: the
moment-curvature curve of every case study and, for each case study, a map of
the section's elements, and saves them as images with their tables.

The path names one file of the case, usually CASE.ana; its directory becomes
the case directory ("/" and "\" both separate directories) and its name without
the extension, cut to 8 characters, the case name.

Options:
  --help      print this help and exit
  --version   print the version and exit

Files read:
  CASE.teX    element curve file of each case study (X = A, B, ...)
  jc*         case results file of each case study
  lixo.tmp    trace of the Strakon run
  CASE.rst    report of the Strakon run
  CASE.geo    section geometry

Files written:
  CASE_mk.png          moment-curvature curves of the case studies
  CASE_mk.csv          the same curves as a table
  CASE_X_map.png       element map of case study X
  CASE_X_elements.csv  the elements of case study X as a table

With a display reachable the program opens a window and, when done, waits for
Window > Exit. With none it runs headless and the wait ends when standard input
is exhausted.

Exit status:
  0   the images and tables were written
  1   a file is missing, empty or inconsistent, a directory cannot be read, or
      an output file could not be written
  2   a fixed-column record could not be read or written
  3   the window was closed while the program worked
)";

inline constexpr ProgramHelp flexuraHelp{"Flexura", flexuraHelpText};

} // namespace tarnova
