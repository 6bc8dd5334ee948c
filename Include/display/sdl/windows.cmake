# Windows: the window module as tarnovaWindow.dll beside each program, with SDL2 and FreeType
# linked in statically. It reaches the display layer through the table the program exports
# (programLink_win32.cpp); the program loads it with LoadLibraryW (WindowModule_win32.cpp).
pkg_check_modules(TARNOVA_SDL2 REQUIRED sdl2)
add_library(tarnova_window SHARED
  ${CMAKE_CURRENT_SOURCE_DIR}/WindowBackend.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/frameInput.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/frameDrawing.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/frameLayout.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/keyCodes.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/TextRenderer.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/programLink_win32.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/../BuiltinFonts.cpp
  # Its own copy of the UTF-8 file calls: the static libraries linked after tarnova_util (libpng
  # inside FreeType) call the wrapped fopen and remove too.
  ${PROJECT_SOURCE_DIR}/Include/win32/utf8Files_win32.cpp)
# The frame text's face, built into the module as into the programs.
target_compile_definitions(tarnova_window PRIVATE TARNOVA_FONT_DIR="${TARNOVA_FONT_DIR}")
target_include_directories(tarnova_window PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../.. ${TARNOVA_SDL2_INCLUDE_DIRS}
                           ${TARNOVA_FREETYPE_INCLUDE_DIRS})
target_compile_definitions(tarnova_window PRIVATE SDL_MAIN_HANDLED)
target_link_libraries(tarnova_window PRIVATE tarnova_util ${TARNOVA_SDL2_STATIC_LDFLAGS} ${TARNOVA_FREETYPE_STATIC_LDFLAGS})
set_target_properties(tarnova_window PROPERTIES PREFIX "" OUTPUT_NAME "tarnovaWindow")

# The loader, and the pure frame layout and key tables the window tests check without a window.
target_sources(tarnova_display PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/../WindowModule_win32.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/frameLayout.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/keyCodes.cpp)
target_include_directories(tarnova_display PRIVATE ${TARNOVA_SDL2_INCLUDE_DIRS})
add_dependencies(tarnova_display tarnova_window)
# Beside each program, where the loader looks for it.
foreach(dir Strakon Pickara Curvella Flexura Sagoma Collaudo)
  add_custom_command(TARGET tarnova_window POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/${dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:tarnova_window> ${CMAKE_BINARY_DIR}/${dir}/)
endforeach()
