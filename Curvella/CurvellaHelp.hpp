#pragma once
// What "Curvella --help" prints; the manual page is made from it.

#include "commandLine.hpp"

#include <string_view>

namespace tarnova {

inline constexpr std::string_view curvellaHelpText =
R"(Usage: Curvella /path/CASE.teA [MODE]
  or:  Curvella --help | --version

Plots one element's stress against its strain over yield strain through the 50
curvature steps of a case study, with a key plan of the section and the
element's dimensions, and saves a listing of the curve and an image of the
screen.

The path names an element curve file written by Strakon (CASE.teA for the
first case study, ...); its directory becomes the case directory. The element
shown is the one in nElem.txt (written by Pickara); when that file is missing
or empty it is created holding 1, and a number beyond the element count shows
element 1. MODE 1 selects the dark colour scheme, anything else the light one.

Options:
  --help      print this help and exit
  --version   print the version and exit

Files read:
  nElem.txt   the element number
  CASE.teX    element curve file: positions and the 50 step blocks
  CASE.geo    section geometry: the element's dimensions as written

Files written:
  Element.NNN listing of the curve and the dimensions of element NNN
  ElemNNN.bmp image of the screen
  nElem.txt   only when it was missing or empty

With a display reachable the program opens a window and, when done, waits for
Window > Exit. With none it runs headless and the wait ends when standard input
is exhausted.

Exit status:
  0   the listing and the image were written
  1   the path is not an element curve file, the curve or geometry file is
      missing or empty, a directory cannot be read, or the image could not
      be written
  2   a fixed-column record could not be read or written (for example a curve
      file cut short by a stopped Strakon run)
  3   the window was closed while the program worked
)";

inline constexpr ProgramHelp curvellaHelp{"Curvella", curvellaHelpText};

} // namespace tarnova
