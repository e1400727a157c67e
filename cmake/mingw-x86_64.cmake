# Cross build for 64-bit Windows with the x86_64 MinGW-w64 compiler.
set(KORVALIN_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
