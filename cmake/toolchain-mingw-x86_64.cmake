# The 64-bit Windows build: the same sources, tested under 64-bit Wine on
# machines that run no 32-bit program. Not for restaurants: it cannot load
# the vendor's 32-bit Epson library.
set(QUELTA_MINGW_ARCH x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake")
