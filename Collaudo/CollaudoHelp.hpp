#pragma once
// What "Collaudo --help" prints; the manual page is made from it.

#include "commandLine.hpp"

#include <string_view>

namespace tarnova {

inline constexpr std::string_view collaudoHelpText =
R"(Usage: Collaudo /path/CASE.ana
  or:  Collaudo --help | --version

Assesses a case against its design limits: the rule check of the hull girder's
ultimate strength with partial safety factors in hogging and sagging, the
residual strength after collision, grounding or a given damage zone, and the
interaction of vertical and horizontal bending over the heel angles. The
studies run in memory through the calculator's engine; each damaged section is
also written and run as a complete case of its own.

The design limits come from CASE.lim (TOML) beside CASE.ana; docs/assessment.md
describes it. Every unknown key or bad value is listed with its line and key,
and nothing is written.

Options:
  --help      print this help and exit
  --version   print the version and exit

Files read:
  CASE.ana, CASE.geo, CASE.pro   the case
  CASE.lim                       design moments, factors, damages, angles

Files written:
  CASE_check.csv        one row per case, condition and direction
  CASE_check.txt        the same as a table, with every factor used
  CASE_interaction.csv  Mu and its components at each heel angle
  CASE_interaction.png  the interaction curve with the design points
  CASE_<damage>/        each damaged case: CASE.ana, .geo, .pro and every file
                        Strakon writes, for Pickara, Curvella and Flexura

With a display reachable the program shows the summary table in a window and
waits for Window > Exit; with none it writes the files and ends.

Exit status:
  0   a complete run (whatever the verdicts)
  1   an input file is missing or wrong, CASE.lim has faults, a study stopped
      or a file cannot be written
  3   the window was closed with its close button
)";

inline constexpr ProgramHelp collaudoHelp{"Collaudo", collaudoHelpText};

} // namespace tarnova
