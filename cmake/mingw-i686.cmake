# Cross build for 32-bit Windows with the i686 MinGW-w64 compiler.
set(KORVALIN_MINGW_CPU i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
