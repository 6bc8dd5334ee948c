#pragma once
// What "Sagoma --help" prints; the manual page is made from it.

#include "commandLine.hpp"

#include <string_view>

namespace tarnova {

inline constexpr std::string_view sagomaOwnOptions[] = {"--force", "--check"};

inline constexpr std::string_view sagomaHelpText =
R"(Usage: Sagoma [--force] /path/CASE.sec
  or:  Sagoma --check /path/CASE.sec
  or:  Sagoma --help | --version

Builds the case files of a midship section from its description: steels,
profiles, strakes of plating with their longitudinals, hard corners and case
studies, written in TOML as the section is drawn. Every problem of the
description is listed with its file, line and key; nothing is written unless
the whole description is valid.

The case files are written beside the description, named after it (the name
cut to 8 characters, as the calculator takes it). Each is written to a
temporary file in the same directory and renamed over its name.

Options:
  --force     replace CASE.geo, CASE.pro and CASE.ana when they exist
  --check     read and check the description, write nothing
  --help      print this help and exit
  --version   print the version and exit

Files read:
  CASE.sec    the section description (see section-files.md)

Files written:
  CASE.geo    section geometry: one element record per longitudinal, plate
              strip and hard corner
  CASE.pro    material properties: one record per steel, in the order listed
  CASE.ana    analysis options, when the description lists case studies
  CASE_section.png
              the section to scale: plating, stiffeners on their side, hard
              corners, element numbers, steels by colour, elastic neutral axis

With a display reachable the program then shows the section in a window: the
wheel (or Ctrl with + and -) zooms about the pointer, a drag (or Ctrl with the
arrows) moves it, Home shows it whole; Window > Exit ends. Headless it ends
once the files are written.

Warnings (standard error) name what is merely unusual: a strake far from an
axis, a spacing that leaves a sliver, and the geometry checks Strakon --check
makes on the section.

Exit status:
  0   the case files were written (or, with --check, the description is valid)
  1   the description has errors, a case file exists and --force was not
      given, or a file could not be written
  3   the window was closed while the program worked

The description is explained in /usr/share/doc/tarnova/section-files.md.
)";

inline constexpr ProgramHelp sagomaHelp{"Sagoma", sagomaHelpText, sagomaOwnOptions};

} // namespace tarnova
