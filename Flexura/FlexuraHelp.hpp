#pragma once
// What "Flexura --help" prints; the manual page is made from it.

#include "commandLine.hpp"

#include <string_view>

namespace tarnova {

inline constexpr std::string_view flexuraHelpText =
R"(Usage: Flexura /path/CASE.ana
  or:  Flexura --report [--pdf] [--browser PATH] /path/CASE.ana
  or:  Flexura --help | --version

Shows the whole section's collapse for a case that Strakon has calculated: the
moment-curvature curve of every case study on one chart, and a collapse map of
the section step by step, each element coloured by its state; writes them as
images and tables.

The path names one file of the case, usually CASE.ana; its directory becomes
the case directory ("/" and "\" both separate directories) and its name without
the extension, cut to 8 characters, the case name.

Options:
  --report        write the calculation report CASE_report.html and exit
  --pdf           also print it to CASE_report.pdf with a headless Chromium or
                  Chrome (the first of chromium, chromium-browser, google-chrome
                  found on PATH); without one the HTML is written, status 1
  --browser PATH  the Chromium or Chrome to print with (implies --pdf)
  --help          print this help and exit
  --version       print the version and the git revision built from, and exit

Files read:
  CASE.ana    analysis options: the case studies
  CASE.geo    section geometry
  CASE.rst    report of the Strakon run
  CASE.teX    element curve file of each case study (X = A, B, ...)
  jc*         case results file of each case study
  lixo.tmp    trace of the Strakon run
  CASE_interaction.csv, CASE_check.csv
              when Collaudo has assessed the case: the interaction curve
              and the design moments

Files written:
  CASE_mk.png          moment-curvature curves of all case studies
  CASE_mk.csv          the same curves as a table
  CASE_X_map.png       collapse map of case study X
  CASE_X_elements.csv  the elements of case study X, step by step
  nElem.txt            in a window, when an element is opened in Curvella
  CASE_report.html     with --report (or File > Write calculation report): the
                       calculation report, one self-contained document
  CASE_report.pdf      with --pdf, the same printed on A4

The report also reads, when they are there, the assessment's CASE_check.csv and
CASE_interaction.csv and the damaged cases in folders CASE_*/ beside CASE.ana.

With a display reachable the program opens a window: Tab switches between the
chart and the map (and the interaction curve, after Collaudo), the arrow keys
move through steps and elements, Enter opens the chosen element in Curvella,
File > Save images and tables writes the files, File > Write calculation report
writes the report and its PDF, and Window > Exit ends. With none it runs
headless: it writes every image and table and ends.

Exit status:
  0   a complete run
  1   an input file is missing or short, an image, table or report cannot be
      written, or no browser prints the PDF (in a window: the last save or
      report asked for failed)
  2   a fixed-column record of an input file could not be read
  3   the window was closed with its close button
)";

inline constexpr std::string_view flexuraOptions[] = {"--report", "--pdf", "--browser"};
inline constexpr ProgramHelp flexuraHelp{"Flexura", flexuraHelpText, flexuraOptions};

} // namespace tarnova
