# Installation and the Debian package.
#
#   bin/                      the programs
#   share/tarnova/examples/   the example cases (tanker, box)
#   share/man/man1/           the manual pages (docs/CMakeLists.txt)
#   share/doc/tarnova/        README, the case-file and section-file guides
#
# Everything a headless run needs is the component "core", packaged as "tarnova". The window
# backend, when it is a module loaded at run time (target tarnova_window), is the component
# "window", packaged as "tarnova-window", so that a server without window libraries can install
# the core alone. With no such module there is one package.
include(GNUInstallDirs)

foreach(program Strakon Pickara Curvella Flexura Sagoma CsvToGeo)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT core)
  endif()
endforeach()

# The window backend module, where the programs look for it: ../lib/tarnova beside bin/.
if(TARGET tarnova_window)
  install(TARGETS tarnova_window LIBRARY DESTINATION lib/tarnova COMPONENT window)
endif()

foreach(example tanker box)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/${example}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/tarnova/examples COMPONENT core
          FILES_MATCHING PATTERN "*.ana" PATTERN "*.geo" PATTERN "*.pro" PATTERN "*.sec")
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TARNOVA maintainers <tarnova@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies from the libraries the binaries actually link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)

get_cmake_property(installedComponents COMPONENTS)
set(CPACK_COMPONENTS_ALL core)
set(CPACK_DEBIAN_CORE_PACKAGE_NAME tarnova)
set(CPACK_DEBIAN_CORE_FILE_NAME DEB-DEFAULT)   # tarnova_VERSION_ARCH.deb
# The first line of each description is the package's summary.
set(viewers "Pickara chooses an element and Curvella plots its load-shortening curve.")
if(TARGET Flexura)
  set(viewers "Pickara chooses an element, Curvella plots its load-shortening curve and Flexura
shows the whole section.")
endif()
set(CPACK_DEBIAN_CORE_DESCRIPTION
    "ultimate longitudinal strength of a ship's hull girder by progressive collapse
Strakon computes the ultimate bending moment of a hull cross-section by progressive collapse;
${viewers}
Sagoma builds the case files from a section described by strakes, stiffeners and steels.
Without a display the programs run headless.")
if("window" IN_LIST installedComponents)
  list(APPEND CPACK_COMPONENTS_ALL window)
  set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME tarnova-window)
  set(CPACK_DEBIAN_WINDOW_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "tarnova (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_WINDOW_DESCRIPTION
      "window backend of the TARNOVA programs
Lets Strakon, Pickara, Curvella and Flexura open a real window when a display is reachable.
Without it they run headless.")
endif()

include(CPack)
