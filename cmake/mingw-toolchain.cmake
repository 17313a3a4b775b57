# Cross-compiles the Windows programs with mingw-w64 for QUELTA_MINGW_ARCH
# (i686 or x86_64; set by the toolchain file that includes this one), posix
# threads so std::thread works. The static libraries that Debian does not
# package for Windows (OpenSSL, libcurl, minizip) come from the set-up's
# cache, one prefix per architecture.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUELTA_MINGW_ARCH})
set(_host ${QUELTA_MINGW_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${_host}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_host}-g++-posix)
set(CMAKE_RC_COMPILER ${_host}-windres)

if(NOT QUELTA_DEPS_PREFIX)
  include("${CMAKE_CURRENT_LIST_DIR}/QueltaDepsCache.cmake")
  set(_current "${QUELTA_DEPS_CACHE_ROOT}/current-${QUELTA_MINGW_ARCH}")
  if(EXISTS "${_current}")
    file(STRINGS "${_current}" QUELTA_DEPS_PREFIX LIMIT_COUNT 1)
  endif()
endif()
set(QUELTA_DEPS_PREFIX "${QUELTA_DEPS_PREFIX}" CACHE PATH
  "${QUELTA_MINGW_ARCH} libraries built by scripts/setup.sh")

set(CMAKE_FIND_ROOT_PATH /usr/${_host} ${QUELTA_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file to copy beside the print service: no runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
