# Installation and the Debian packages.
#
#   bin/                      the programs (TARNOVA_PROGRAMS, cmake/Programs.cmake)
#   lib/tarnova/              the window backend module
#   share/tarnova/examples/   the example cases (tanker, box)
#   share/man/man1/           the manual pages (docs/CMakeLists.txt)
#   share/doc/tarnova/        README, docs/ (the case-file, section-file and assessment guides, images),
#                             copyright, changelog, the licence of the fonts built into the programs
#                             (fonts-liberation2.copyright)
#
# Everything a headless run needs is the component "core", packaged as "tarnova". The window
# backend, when it is a module loaded at run time (target tarnova_window), is the component
# "window", packaged as "tarnova-window", so that a server without window libraries can install
# the core alone. The Python module, when built, is the component "python", packaged as
# "python3-tarnova" for Debian's own interpreter.
include(GNUInstallDirs)

foreach(program ${TARNOVA_PROGRAMS})
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT core)
  endif()
endforeach()

# The window backend module, where the programs look for it: ../lib/tarnova beside bin/.
if(TARGET tarnova_window)
  install(TARGETS tarnova_window LIBRARY DESTINATION lib/tarnova COMPONENT window)
endif()

# The programs carry Liberation 2 faces (Include/display/BuiltinFonts.cpp): their licence goes with them.
set(TARNOVA_FONT_LICENCE /usr/share/doc/fonts-liberation2/copyright CACHE FILEPATH
    "Licence of the built-in fonts (from the Debian package fonts-liberation2)")
if(EXISTS ${TARNOVA_FONT_LICENCE})
  install(FILES ${TARNOVA_FONT_LICENCE} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tarnova
          RENAME fonts-liberation2.copyright
          COMPONENT core)
else()
  message(WARNING "${TARNOVA_FONT_LICENCE} not found: the package would lack the fonts' licence")
endif()

foreach(example tanker box)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/${example}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/tarnova/examples COMPONENT core
          FILES_MATCHING PATTERN "*.ana" PATTERN "*.geo" PATTERN "*.pro" PATTERN "*.lim" PATTERN "*.sec")
endforeach()

# The Python package laid out as Debian's python3 finds it below /usr: only the package installs
# this copy (a plain "cmake --install" uses the interpreter's directory below the prefix).
set(TARNOVA_DEB_PYTHON_DIR lib/python3/dist-packages)
if(TARGET _tarnova)
  install(TARGETS _tarnova LIBRARY DESTINATION ${TARNOVA_DEB_PYTHON_DIR}/tarnova
          COMPONENT python EXCLUDE_FROM_ALL)
  file(GLOB pythonSources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/python/tarnova/*.py)
  install(FILES ${pythonSources} DESTINATION ${TARNOVA_DEB_PYTHON_DIR}/tarnova
          COMPONENT python EXCLUDE_FROM_ALL)
  file(GLOB pythonExamples ${PROJECT_SOURCE_DIR}/examples/python/*.py)
  install(FILES ${pythonExamples} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/python3-tarnova/examples
          COMPONENT python EXCLUDE_FROM_ALL)
  # The module's guide links the case-file guide beside it.
  install(FILES ${PROJECT_SOURCE_DIR}/docs/python.md ${PROJECT_SOURCE_DIR}/docs/case-files.md
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/python3-tarnova
          COMPONENT python EXCLUDE_FROM_ALL)
endif()

# Every package's copyright and changelog (Debian's machine-readable copyright; a native
# package's changelog, compressed without a time stamp so that a rebuild is identical).
set(debianDir ${CMAKE_BINARY_DIR}/debian)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${debianDir}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${debianDir}/changelog @ONLY)
file(STRINGS ${debianDir}/changelog changelogTop LIMIT_COUNT 1)
if(NOT changelogTop MATCHES "^tarnova \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog.in has no entry for version ${PROJECT_VERSION} on top")
endif()
execute_process(COMMAND gzip -9nc ${debianDir}/changelog OUTPUT_FILE ${debianDir}/changelog.gz
                COMMAND_ERROR_IS_FATAL ANY)
set(debianPackages core tarnova window tarnova-window)
if(TARGET _tarnova)
  list(APPEND debianPackages python python3-tarnova)
endif()
while(debianPackages)
  list(POP_FRONT debianPackages component package)
  install(FILES ${debianDir}/copyright ${debianDir}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component}
          EXCLUDE_FROM_ALL)
endwhile()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TARNOVA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies from the libraries the binaries actually link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)
# Directories owned by root with mode 755, as lintian expects.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

get_cmake_property(installedComponents COMPONENTS)
set(CPACK_COMPONENTS_ALL core)
set(CPACK_DEBIAN_CORE_PACKAGE_NAME tarnova)
set(CPACK_DEBIAN_CORE_FILE_NAME DEB-DEFAULT)   # tarnova_VERSION_ARCH.deb
set(CPACK_DEBIAN_CORE_PACKAGE_RECOMMENDS "chromium")   # Flexura --pdf prints the report with it
# The first line of each description is the package's summary; the others (CPack indents them by
# one space) stay within 80 columns, as lintian asks.
set(viewers "Pickara chooses an element and Curvella plots its load-shortening curve.")
if(TARGET Flexura)
  set(viewers "Pickara chooses an element, Curvella plots its load-shortening curve and
Flexura shows the whole section's collapse.")
endif()
set(assessment "")
if(TARGET Collaudo)
  set(assessment "Collaudo checks the section against design moments with partial safety factors,
intact and damaged, and over the heel angles.
")
endif()
set(CPACK_DEBIAN_CORE_DESCRIPTION
    "ultimate longitudinal strength of a ship's hull girder
Strakon computes the ultimate bending moment of a hull cross-section by
progressive collapse, from fixed-column case files.
${viewers}
Sagoma builds the case files from a section described by strakes,
stiffeners and steels.
${assessment}Without a display the programs run headless.")
if("window" IN_LIST installedComponents)
  list(APPEND CPACK_COMPONENTS_ALL window)
  set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME tarnova-window)
  set(CPACK_DEBIAN_WINDOW_FILE_NAME DEB-DEFAULT)
  set(windowDepends "tarnova (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_WINDOW_PACKAGE_SHLIBDEPS OFF)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/windowDepends.cmake.in
                 ${debianDir}/windowDepends.cmake.in @ONLY)
  file(GENERATE OUTPUT ${debianDir}/windowDepends.cmake INPUT ${debianDir}/windowDepends.cmake.in)
  set(CPACK_PROJECT_CONFIG_FILE ${debianDir}/windowDepends.cmake)
  set(CPACK_DEBIAN_WINDOW_DESCRIPTION
      "window backend of the TARNOVA programs
Lets Strakon, Pickara, Curvella and Flexura open a real window when a
display is reachable. Without it they run headless.")
endif()
if("python" IN_LIST installedComponents AND TARGET _tarnova)
  list(APPEND CPACK_COMPONENTS_ALL python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-tarnova)
  set(CPACK_DEBIAN_PYTHON_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  # The extension is built for one interpreter version.
  execute_process(COMMAND ${Python3_EXECUTABLE} -c "import sys; print(sys.version_info[1])"
                  OUTPUT_VARIABLE minor OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  math(EXPR nextMinor "${minor} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "python3 (>= 3.${minor}), python3 (<< 3.${nextMinor}), python3-numpy")
  set(CPACK_DEBIAN_PYTHON_DESCRIPTION
      "hull girder ultimate strength from Python (TARNOVA)
The module tarnova runs the TARNOVA collapse calculation in memory from
Python 3: read a case, change it, run its case studies in parallel threads
and get NumPy results. Examples and the guide are in
/usr/share/doc/python3-tarnova.")
endif()

include(CPack)
