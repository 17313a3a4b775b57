# Cross-compiles the 32-bit Windows program with mingw-w64 (posix threads,
# so std::thread works). The static libraries that Debian does not package
# for i686 (OpenSSL, libcurl, minizip) come from the set-up's cache.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

if(NOT QUELTA_DEPS_PREFIX)
  set(_deps_current "$ENV{HOME}/.cache/quelta-deps/current")
  if(DEFINED ENV{QUELTA_DEPS_CACHE})
    set(_deps_current "$ENV{QUELTA_DEPS_CACHE}/current")
  elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(_deps_current "$ENV{XDG_CACHE_HOME}/quelta-deps/current")
  endif()
  if(EXISTS "${_deps_current}")
    file(STRINGS "${_deps_current}" QUELTA_DEPS_PREFIX LIMIT_COUNT 1)
  endif()
endif()
set(QUELTA_DEPS_PREFIX "${QUELTA_DEPS_PREFIX}" CACHE PATH "i686 libraries built by scripts/setup.sh")

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${QUELTA_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file to copy beside the print service: no runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
