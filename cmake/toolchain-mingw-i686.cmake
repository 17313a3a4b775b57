# The 32-bit Windows program, the one restaurants get.
set(QUELTA_MINGW_ARCH i686)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake")
