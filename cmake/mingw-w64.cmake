# Cross-building for 64-bit Windows with the MinGW-w64 compilers of Debian (POSIX thread model,
# so that std::thread and std::mutex are available). Libraries are searched only under the
# cross-built dependencies (TARNOVA_WINDOWS_DEPS, build-windows/deps by default) and the
# compiler's own tree; tests run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar)
set(CMAKE_RANLIB ${triple}-ranlib)

if(NOT TARNOVA_WINDOWS_DEPS)
  get_filename_component(TARNOVA_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps ABSOLUTE)
endif()
set(TARNOVA_WINDOWS_DEPS ${TARNOVA_WINDOWS_DEPS} CACHE PATH "Cross-built dependencies")
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${TARNOVA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} ${TARNOVA_WINDOWS_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# No C, C++ or thread runtime DLLs beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run under Wine; WINEPREFIX and WINEDEBUG come from the environment.
find_program(TARNOVA_WINE NAMES wine64 wine)
if(TARNOVA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARNOVA_WINE})
endif()
