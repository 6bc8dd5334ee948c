# The hardening Debian builds its packages with, from dpkg-buildflags with every feature on:
# fortified string functions, stack protector, format checks, read-only relocations bound at
# start-up. Only those flags are taken: optimisation and debug information stay the build type's.
# scripts/package.sh builds with ON. The default, OFF, keeps the everyday build's objects shared
# with the compiler cache of every other build of the suite; AUTO applies them to an optimised
# build without sanitizers where dpkg-buildflags exists (_FORTIFY_SOURCE needs optimisation, and
# the sanitizers bring their own checks).
set(TARNOVA_HARDENING OFF CACHE STRING "Build with Debian's hardening flags (AUTO, ON or OFF)")
set_property(CACHE TARNOVA_HARDENING PROPERTY STRINGS AUTO ON OFF)

find_program(TARNOVA_DPKG_BUILDFLAGS dpkg-buildflags)
set(hardening ${TARNOVA_HARDENING})
if(hardening STREQUAL "AUTO")
  set(hardening OFF)
  if(TARNOVA_DPKG_BUILDFLAGS AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
     AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    set(hardening ON)
  endif()
endif()
if(hardening AND NOT TARNOVA_DPKG_BUILDFLAGS)
  message(FATAL_ERROR "TARNOVA_HARDENING=ON needs dpkg-buildflags (package dpkg-dev)")
endif()

if(hardening)
  set(TARNOVA_HARDENING_FLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${TARNOVA_DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag ${flags})
      if(flag MATCHES "^-D_FORTIFY_SOURCE|^-fstack-protector|^-fstack-clash|^-fcf-protection|^-Wformat|^-Werror=format")
        add_compile_options(${flag})
        list(APPEND TARNOVA_HARDENING_FLAGS ${flag})
      elseif(flag MATCHES "^-Wl,-z,")
        add_link_options(${flag})
        list(APPEND TARNOVA_HARDENING_FLAGS ${flag})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES TARNOVA_HARDENING_FLAGS)
  message(STATUS "Hardening: ${TARNOVA_HARDENING_FLAGS}")
endif()
