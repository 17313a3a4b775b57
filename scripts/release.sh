#!/usr/bin/env bash
# Builds a release for real hosts and writes what the download host serves:
# build/release/publish/impressao.zip and build/release/publish/version.json.
#
#   scripts/release.sh PRODUCTION STAGING DOWNLOAD FILES [CA_FILE]
#
# PRODUCTION and STAGING are the API's scheme and host, DOWNLOAD the
# download host (host[:port], HTTPS); FILES is a directory holding the
# release's queltaService.exe, libeay32.dll and ssleay32.dll; CA_FILE, when
# given, a PEM file of CAs the hosts need besides the Windows store (none by
# default). The tool is built in build/release with these values; the
# archive is checked as the tool checks it before anything is written.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${1:-}" ] || [ -z "${2:-}" ] || [ -z "${3:-}" ] || [ -z "${4:-}" ]; then
  echo "usage: make release PRODUCTION=https://api.host STAGING=https://staging.host" \
       "DOWNLOAD=downloads.host FILES=dir [CA=file.pem]" >&2
  exit 2
fi
production="$1" staging="$2" download="$3" files="$4" ca="${5:-}"
for name in queltaService.exe libeay32.dll ssleay32.dll; do
  [ -f "$files/$name" ] || { echo "release: $files/$name is missing" >&2; exit 1; }
done

build=build/release
echo "== release: configure and build the tool ($build)"
cmake --preset win32 -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DQUELTA_API_PRODUCTION="$production" -DQUELTA_API_STAGING="$staging" \
  -DQUELTA_DOWNLOAD_HOST="$download" -DQUELTA_EXTRA_CA_FILE="$ca" >"$build.log" 2>&1 ||
  { tail -n 20 "$build.log" >&2; exit 1; }
cmake --build "$build" --target queltaConfig >>"$build.log" 2>&1 ||
  { grep -E 'error' "$build.log" | head -n 20 >&2; exit 1; }

echo "== release: pack"
cmake --preset native >/dev/null
cmake --build --preset native --target quelta-release >/dev/null
mkdir -p "$build/publish"
build/native/release/quelta-release "$build/publish" "$build/app/queltaConfig.exe" \
  "$files/queltaService.exe" "$files/libeay32.dll" "$files/ssleay32.dll"
