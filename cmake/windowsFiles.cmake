# Windows: names stay UTF-8 inside the suite. The C library's narrow file calls are wrapped by
# their wide counterparts (Include/win32/utf8Files_win32.cpp) in everything linked with
# tarnova_util, and files open in binary mode by default, so records end as on Linux.
target_sources(tarnova_util PRIVATE ${PROJECT_SOURCE_DIR}/Include/win32/utf8Files_win32.cpp)
set(tarnovaWrappedCalls fopen fopen64 rename remove unlink _unlink access _access chdir _chdir mkdir
    _mkdir _stat64 _stat64i32 _stat getcwd _getcwd open _open mkstemp)
list(TRANSFORM tarnovaWrappedCalls PREPEND "-Wl,--wrap=")
target_link_options(tarnova_util INTERFACE ${tarnovaWrappedCalls})

# The programs' entry: the UTF-16 command line handed to their main in UTF-8.
function(tarnova_windows_entry target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/Include/win32/wmain_win32.cpp)
  target_compile_definitions(${target} PRIVATE main=tarnovaMain)
  target_link_options(${target} PRIVATE -municode)
endfunction()
