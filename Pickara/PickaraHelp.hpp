#pragma once
// What "Pickara --help" prints; the manual page is made from it.

#include "commandLine.hpp"

#include <string_view>

namespace tarnova {

inline constexpr std::string_view pickaraHelpText =
R"(Usage: Pickara /path/CASE.teA
  or:  Pickara --help | --version

Draws every element of a calculated hull section at its place with its number,
asks for one element number and hands it to Curvella in the file nElem.txt.
It ends as soon as a number between 1 and the element count is accepted.

The path names an element curve file written by Strakon (CASE.teA for the
first case study, CASE.teB for the second, ...). Its directory becomes the case
directory ("/" and "\" both separate directories).

Options:
  --help      print this help and exit
  --version   print the version and exit

Files read:
  CASE.teX    element curve file: the element count and positions

Files written:
  nElem.txt   the chosen element number (one record, columns 1-4)

With a display reachable the program opens a window: type the number and
Enter, or click a number (a double click accepts it). The mouse wheel, or Ctrl
with + and -, zooms the section about the pointer, dragging moves it and Home
restores it. With none it runs headless and reads the number from standard
input, for example:  printf '12\n' | Pickara /ships/TANKER.teA

Exit status:
  0   a number was chosen and written to nElem.txt
  1   the path is not an element curve file, the file is missing or empty
      or holds no elements or more than 600, a directory cannot be read, or
      standard input ended before a number was accepted
  2   a fixed-column record could not be read or written
  3   the window was closed before a number was chosen
)";

inline constexpr ProgramHelp pickaraHelp{"Pickara", pickaraHelpText};

} // namespace tarnova
