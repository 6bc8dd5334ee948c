# toml++ (Sagoma's descriptions, Collaudo's limits): the Debian package's library where its CMake
# package is found; elsewhere (the Windows cross build) its headers alone, in header-only mode.
if(NOT TARGET tomlplusplus::tomlplusplus)
  find_package(tomlplusplus CONFIG QUIET)
  if(NOT tomlplusplus_FOUND)
    find_path(TOMLPLUSPLUS_INCLUDE_DIR toml++/toml.h)
    if(TOMLPLUSPLUS_INCLUDE_DIR)
      add_library(tomlplusplus::tomlplusplus INTERFACE IMPORTED GLOBAL)
      set_target_properties(tomlplusplus::tomlplusplus PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${TOMLPLUSPLUS_INCLUDE_DIR}
        INTERFACE_COMPILE_DEFINITIONS TOML_HEADER_ONLY=1)
    endif()
  endif()
endif()
