# Writes the git revision the sources are built from into OUTPUT (a C++ file defining
# tarnova::buildRevision). Run at every build; the file is rewritten only when the revision
# changes, so an unchanged tree relinks nothing. Outside a git checkout, or without git, the
# revision reads "unknown" (also for sources unpacked inside some other checkout).
set(revision "unknown")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} rev-parse --show-toplevel
                  OUTPUT_VARIABLE top RESULT_VARIABLE topStatus ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(REAL_PATH "${SOURCE_DIR}" source)
  if(topStatus EQUAL 0)
    file(REAL_PATH "${top}" top)
  endif()
endif()
if(GIT_FOUND AND topStatus EQUAL 0 AND top STREQUAL source)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} describe --always --dirty --abbrev=12
                          --match "no-tag-matches-this"
                  OUTPUT_VARIABLE described RESULT_VARIABLE status ERROR_QUIET
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(status EQUAL 0 AND NOT described STREQUAL "")
    set(revision "${described}")
  endif()
endif()
set(text "// Written by cmake/buildRevision.cmake at build time.\n#include <string_view>\nnamespace tarnova {\nstd::string_view buildRevision()\n{\n    return \"${revision}\";\n}\n} // namespace tarnova\n")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
else()
  set(old "")
endif()
if(NOT old STREQUAL text)
  file(WRITE ${OUTPUT} "${text}")
endif()
