#!/usr/bin/env bash
# Prepares a Debian 12 machine to build and test the tool: the packages of
# every preset, and the static Windows libraries that Debian does not ship
# (OpenSSL 3, libcurl, minizip), cross-built from Debian's source packages
# for i686 (the program restaurants get) and x86_64 (the build the Windows
# tests run where this machine runs no 32-bit program) into a versioned cache
# outside the work tree. Safe to run again: a machine that has everything is
# left alone and told so in one line.
set -Eeuo pipefail

DEPS_VERSION=1
CACHE_ROOT="${QUELTA_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quelta-deps}"
JOBS="$(nproc)"
did_something=0

PACKAGES=(
  wine wine64 xvfb xauth
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev
  binutils-mingw-w64-i686 libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  binutils-mingw-w64-x86-64
  cmake ninja-build make pkg-config perl dpkg-dev
  g++ clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev libssl-dev zlib1g-dev libminizip-dev libcpp-httplib-dev
  nlohmann-json3-dev rapidjson-dev openssl imagemagick curl python3
  cups-daemon cups-client libcups2
  locales iproute2 util-linux
  nsis osslsigncode
)
# The 32-bit Wine, for machines that run 32-bit programs. Without it the
# Windows tests run the 64-bit build (scripts/wine-env.sh chooses), so a
# machine where it cannot be installed (one whose i386 package index lags
# the amd64 one, say) is told so and goes on.
PACKAGES_32=(wine32:i386 libcups2:i386)

log() { echo "setup: $*"; }

# A failed step shows the tail of the log it was writing.
step_log=""
on_error() {
  echo "setup: failed" >&2
  if [ -n "$step_log" ] && [ -f "$step_log" ]; then tail -n 40 "$step_log" >&2; fi
}
trap on_error ERR

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

missing_packages() {
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

# A mirror in the middle of a sync serves an index of the wrong size now
# and then; apt then fails the whole update although the other indexes
# arrived. Tried twice; what is still missing shows up when installing.
apt_update() {
  local attempt
  for attempt in 1 2; do
    as_root apt-get update -qq >/dev/null 2>"$CACHE_ROOT/apt-update.log" && return 0
    sleep 5
  done
  log "the package index did not update completely (using what arrived):"
  grep '^E:' "$CACHE_ROOT/apt-update.log" | head -n 3 | sed 's/^/  /'
}
install_packages() {
  local missing missing_32
  missing="$(missing_packages "${PACKAGES[@]}")"
  missing_32="$(missing_packages "${PACKAGES_32[@]}")"
  [ -z "$missing" ] && [ -z "$missing_32" ] && return 0
  if [ -n "$missing_32" ] && [ -f "$CACHE_ROOT/no-wine32" ] &&
     [ "$(cat "$CACHE_ROOT/no-wine32")" = "$(date +%F)" ]; then
    missing_32=""  # tried today already
    [ -z "$missing" ] && return 0
  fi
  did_something=1
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  add_source_entries
  apt_update
  if [ -n "$missing" ]; then
    log "installing packages:" $missing
    step_log="$CACHE_ROOT/apt-install.log"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      $missing >"$step_log" 2>&1
    step_log=""
  fi
  if [ -n "$missing_32" ]; then
    log "installing the 32-bit Wine:" $missing_32
    if as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
         $missing_32 >"$CACHE_ROOT/apt-install-32.log" 2>&1; then
      rm -f "$CACHE_ROOT/no-wine32"
    else
      date +%F >"$CACHE_ROOT/no-wine32"
      log "the 32-bit Wine cannot be installed here (the Windows tests will run the 64-bit build):"
      grep -E '^E:|Depends:' "$CACHE_ROOT/apt-install-32.log" | head -n 3 | sed 's/^/  /'
    fi
  fi
}

# The source packages come from the same archive as the binaries: a deb-src
# twin of every deb entry of the system's sources file.
add_source_entries() {
  local src=/etc/apt/sources.list.d/debian.sources
  local twin=/etc/apt/sources.list.d/debian-src.sources
  if [ -f "$src" ] && [ ! -f "$twin" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$src" | as_root tee "$twin" >/dev/null
    return 0
  fi
  if [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
      | as_root tee /etc/apt/sources.list.d/debian-src.list >/dev/null
  fi
}

# Fetches the upstream tarball of a source package into $1, trying the
# versions the archive lists until one downloads (security pools may hold an
# index entry whose files are gone).
fetch_source() {
  local pkg="$1" dir="$2" v
  mkdir -p "$dir"
  if ! apt-cache showsrc "$pkg" >/dev/null 2>&1 || [ -z "$(apt-cache showsrc "$pkg" 2>/dev/null)" ]; then
    add_source_entries
    apt_update
  fi
  for v in $(apt-cache showsrc "$pkg" | awk '/^Version:/ {print $2}' | sort -Vr -u); do
    if (cd "$dir" && apt-get source -qq --download-only --tar-only "$pkg=$v" >/dev/null 2>&1); then
      ls "$dir"/*.orig.tar.* | head -n1
      return 0
    fi
    rm -f "$dir"/*
  done
  echo "setup: cannot fetch the sources of $pkg" >&2
  return 1
}

unpack() {
  local tarball="$1" dir="$2"
  mkdir -p "$dir"
  tar -xf "$tarball" -C "$dir" --strip-components=1
}

# The libraries are built once per architecture: ARCH (i686 or x86_64), its
# cross tools HOST- and its cache prefix PREFIX are set by use_arch.
use_arch() {
  ARCH="$1"
  HOST="$1-w64-mingw32"
  PREFIX="$CACHE_ROOT/$1-v$DEPS_VERSION"
  case "$1" in
    i686) OPENSSL_TARGET=mingw ;;
    x86_64) OPENSSL_TARGET=mingw64 ;;
  esac
  mkdir -p "$PREFIX"
}

build_openssl() {
  [ -f "$PREFIX/.openssl" ] && return 0
  did_something=1
  log "building OpenSSL for $ARCH (a few minutes)"
  local work="$CACHE_ROOT/work/$ARCH/openssl"
  rm -rf "$work"
  local tarball
  tarball="$(fetch_source openssl "$work/dl")"
  unpack "$tarball" "$work/src"
  (
    cd "$work/src"
    step_log="$work/configure.log"
    ./Configure "$OPENSSL_TARGET" no-shared no-tests no-asm no-engine \
      --cross-compile-prefix="$HOST-" \
      --prefix="$PREFIX" --libdir=lib >"$work/configure.log" 2>&1
    step_log="$work/build.log"
    make -j"$JOBS" build_libs >"$work/build.log" 2>&1
    step_log="$work/install.log"
    make install_dev >"$work/install.log" 2>&1
  )
  touch "$PREFIX/.openssl"
}

build_curl() {
  [ -f "$PREFIX/.curl" ] && return 0
  did_something=1
  log "building libcurl for $ARCH"
  local work="$CACHE_ROOT/work/$ARCH/curl"
  rm -rf "$work"
  local tarball
  tarball="$(fetch_source curl "$work/dl")"
  unpack "$tarball" "$work/src"
  (
    cd "$work/src"
    step_log="$work/configure.log"
    cmake -S . -B build -G Ninja \
      -DCMAKE_SYSTEM_NAME=Windows \
      -DCMAKE_C_COMPILER="$HOST-gcc" \
      -DCMAKE_RC_COMPILER="$HOST-windres" \
      -DCMAKE_FIND_ROOT_PATH="$PREFIX;/usr/$HOST" \
      -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
      -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
      -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
      -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$PREFIX" \
      -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF \
      -DCURL_STATICLIB=ON -DCURL_USE_OPENSSL=ON -DCURL_USE_SCHANNEL=OFF \
      -DOPENSSL_ROOT_DIR="$PREFIX" -DOPENSSL_USE_STATIC_LIBS=ON \
      -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF \
      -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF -DUSE_LIBIDN2=OFF \
      -DENABLE_IPV6=ON -DENABLE_UNIX_SOCKETS=OFF \
      -DHTTP_ONLY=ON -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON \
      >"$work/configure.log" 2>&1
    step_log="$work/build.log"
    cmake --build build -j"$JOBS" >"$work/build.log" 2>&1
    step_log="$work/install.log"
    cmake --install build >"$work/install.log" 2>&1
  )
  touch "$PREFIX/.curl"
}

# minizip lives in zlib's contrib tree; only the reading side and the Win32
# file functions are needed. zlib itself comes from libz-mingw-w64-dev.
build_minizip() {
  [ -f "$PREFIX/.minizip" ] && return 0
  did_something=1
  log "building minizip for $ARCH"
  local work="$CACHE_ROOT/work/$ARCH/zlib"
  rm -rf "$work"
  local tarball
  tarball="$(fetch_source zlib "$work/dl")"
  unpack "$tarball" "$work/src"
  local mz="$work/src/contrib/minizip"
  mkdir -p "$PREFIX/include/minizip" "$PREFIX/lib" "$work/obj"
  local f
  for f in ioapi unzip iowin32; do
    "$HOST-gcc" -O2 -c "$mz/$f.c" -o "$work/obj/$f.o"
  done
  "$HOST-ar" rcs "$PREFIX/lib/libminizip.a" "$work/obj"/*.o
  cp "$mz"/ioapi.h "$mz"/unzip.h "$mz"/iowin32.h "$mz"/crypt.h "$PREFIX/include/minizip/"
  touch "$PREFIX/.minizip"
}

# The sandbox cloud serves HTTPS with a certificate of its own CA; the tool's
# default build trusts that CA besides the Windows store. A second CA signs
# a certificate nobody trusts, for the tests of a failed verification.
make_sandbox_certs() {
  local dir="$CACHE_ROOT/sandbox-certs-v1"
  [ -f "$dir/.done" ] && return 0
  did_something=1
  log "making the sandbox cloud's certificates"
  rm -rf "$dir"
  mkdir -p "$dir"
  step_log="$dir/openssl.log"
  (
    cd "$dir"
    local ca
    for ca in ca other-ca; do
      openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 \
        -keyout "$ca.key" -out "$ca.pem" -subj "/O=Quelta Sandbox/CN=Quelta Sandbox $ca" \
        -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" >>openssl.log 2>&1
    done
    printf '%s\n' "basicConstraints=CA:FALSE" \
      "keyUsage=critical,digitalSignature,keyEncipherment" \
      "extendedKeyUsage=serverAuth" \
      "subjectAltName=IP:127.0.0.1,DNS:localhost" >server.ext
    local server
    for server in server:ca other-server:other-ca; do
      local name="${server%%:*}" signer="${server#*:}"
      openssl req -newkey rsa:2048 -nodes -sha256 -keyout "$name.key" -out "$name.csr" \
        -subj "/O=Quelta Sandbox/CN=127.0.0.1" >>openssl.log 2>&1
      openssl x509 -req -sha256 -days 3650 -in "$name.csr" -CA "$signer.pem" \
        -CAkey "$signer.key" -CAcreateserial -extfile server.ext -out "$name.pem" \
        >>openssl.log 2>&1
    done
    rm -f ./*.csr ./*.srl server.ext
  )
  step_log=""
  touch "$dir/.done"
}

# The sandbox's publisher key pair, beside its CA: the sandbox cloud signs its
# manifest with the private half, the tool's default build trusts the public
# half. Made on its own, so a cache made before it gains the pair and keeps
# its certificates.
make_publisher_key() {
  local dir="$CACHE_ROOT/sandbox-certs-v1"
  [ -f "$dir/publisher.key" ] && [ -f "$dir/publisher.pem" ] && return 0
  did_something=1
  log "making the sandbox's publisher key"
  step_log="$dir/openssl.log"
  openssl genpkey -algorithm ed25519 -out "$dir/publisher.key.new" >>"$step_log" 2>&1
  openssl pkey -in "$dir/publisher.key.new" -pubout -out "$dir/publisher.pem" >>"$step_log" 2>&1
  mv "$dir/publisher.key.new" "$dir/publisher.key"
  step_log=""
}

# The sandbox's code-signing CA and the certificate it signs, beside its CA:
# the sandbox release signs its programs with them and the tests verify
# those signatures against the CA. Throwaway, like every key in the cache:
# a release for real hosts is signed with the publisher's own certificate.
make_codesign_cert() {
  local dir="$CACHE_ROOT/sandbox-certs-v1"
  [ -f "$dir/codesign.key" ] && [ -f "$dir/codesign.pem" ] && [ -f "$dir/codesign-ca.pem" ] &&
    return 0
  did_something=1
  log "making the sandbox's code-signing certificate"
  step_log="$dir/openssl.log"
  (
    cd "$dir"
    openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 \
      -keyout codesign-ca.key -out codesign-ca.pem \
      -subj "/O=Quelta Sandbox/CN=Quelta Sandbox code-signing CA" \
      -addext "basicConstraints=critical,CA:TRUE" \
      -addext "keyUsage=critical,keyCertSign,cRLSign" >>openssl.log 2>&1
    printf '%s\n' "basicConstraints=CA:FALSE" "keyUsage=critical,digitalSignature" \
      "extendedKeyUsage=codeSigning" >codesign.ext
    openssl req -newkey rsa:2048 -nodes -sha256 -keyout codesign.key.new -out codesign.csr \
      -subj "/O=Quelta Sandbox/CN=Quelta Sandbox" >>openssl.log 2>&1
    openssl x509 -req -sha256 -days 3650 -in codesign.csr -CA codesign-ca.pem \
      -CAkey codesign-ca.key -CAcreateserial -extfile codesign.ext -out codesign.pem \
      >>openssl.log 2>&1
    rm -f codesign.csr codesign-ca.srl codesign.ext
    mv codesign.key.new codesign.key
  )
  step_log=""
}

# The in-test HTTPS servers of the Windows build need cpp-httplib as a single
# header (Debian ships it split, compiled for Linux): taken from Debian's
# source package, with Debian's patches applied.
fetch_httplib_header() {
  [ -f "$PREFIX/.httplib" ] && return 0
  did_something=1
  log "fetching the cpp-httplib header for $ARCH"
  local work="$CACHE_ROOT/work/$ARCH/httplib"
  rm -rf "$work"
  mkdir -p "$work/dl"
  if [ -z "$(apt-cache showsrc cpp-httplib 2>/dev/null)" ]; then
    add_source_entries
    apt_update
  fi
  step_log="$work/source.log"
  (cd "$work/dl" && apt-get source -q --download-only cpp-httplib >"$work/source.log" 2>&1)
  dpkg-source -x "$(ls "$work"/dl/*.dsc | head -n1)" "$work/src" >>"$work/source.log" 2>&1
  step_log=""
  mkdir -p "$PREFIX/include/cpp-httplib"
  cp "$work/src/httplib.h" "$PREFIX/include/cpp-httplib/httplib.h"
  touch "$PREFIX/.httplib"
}

# The Windows tests run Wine under the restaurant's locale, Portuguese
# (Brazil): Wine takes it from LC_ALL, which needs the locale generated.
# Listed in locale.gen too, so a later locale-gen keeps it.
make_locale() {
  local name=pt_BR.UTF-8
  if ! grep -q "^$name UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$name UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  fi
  locale -a 2>/dev/null | grep -qix 'pt_BR.utf-\?8' && return 0
  did_something=1
  log "generating the $name locale"
  as_root localedef -i pt_BR -c -f UTF-8 -A /usr/share/locale/locale.alias "$name"
}

mkdir -p "$CACHE_ROOT"
install_packages
make_locale
for arch in i686 x86_64; do
  use_arch "$arch"
  build_openssl
  build_curl
  build_minizip
  fetch_httplib_header
  echo "$PREFIX" >"$CACHE_ROOT/current-$arch"
done
make_sandbox_certs
make_publisher_key
make_codesign_cert

if [ "$did_something" = 0 ]; then
  log "everything is in place, nothing to do"
else
  rm -rf "$CACHE_ROOT/work"
  log "done; Windows libraries in $CACHE_ROOT/i686-v$DEPS_VERSION and $CACHE_ROOT/x86_64-v$DEPS_VERSION"
fi
