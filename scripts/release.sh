#!/usr/bin/env bash
# Builds a release for real hosts and writes what the download host serves:
# build/release/publish/impressao.zip, version.json and version.json.sig.
#
#   scripts/release.sh PRODUCTION STAGING DOWNLOAD FILES KEY [CA_FILE] [NEXT_KEY] [DAYS]
#
# PRODUCTION and STAGING are the API's scheme and host, DOWNLOAD the
# download host (host[:port], HTTPS); FILES is a directory holding the
# release's queltaService.exe, libeay32.dll and ssleay32.dll; KEY the
# publisher's Ed25519 private key (PEM), which signs the manifest and whose
# public half the tool is built to trust; CA_FILE, when given, a PEM file of
# CAs the hosts need besides the Windows store (none by default); NEXT_KEY,
# when given, the public key (PEM) of the publisher's next key, trusted as
# well; DAYS how long the manifest stays valid (90 by default). The tool is
# built in build/release with these values; the archive is checked as the
# tool checks it before anything is written.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${1:-}" ] || [ -z "${2:-}" ] || [ -z "${3:-}" ] || [ -z "${4:-}" ] || [ -z "${5:-}" ]; then
  echo "usage: make release PRODUCTION=https://api.host STAGING=https://staging.host" \
       "DOWNLOAD=downloads.host FILES=dir KEY=private.pem [CA=file.pem] [NEXT=next-public.pem]" \
       "[DAYS=90]" >&2
  exit 2
fi
production="$1" staging="$2" download="$3" files="$4" key="$5" ca="${6:-}" next="${7:-}"
days="${8:-90}"
for name in queltaService.exe libeay32.dll ssleay32.dll; do
  [ -f "$files/$name" ] || { echo "release: $files/$name is missing" >&2; exit 1; }
done

if [ -n "$next" ]; then
  [ -f "$next" ] || { echo "release: $next is missing" >&2; exit 1; }
  next="$(realpath "$next")"
fi

build=build/release
mkdir -p "$build"
# The tool trusts the public half of the key that signs this release.
openssl pkey -in "$key" -pubout -out "$build/publisher.pem" 2>"$build.key.log" ||
  { echo "release: $key is not a private key in PEM" >&2; cat "$build.key.log" >&2; exit 1; }
echo "== release: configure and build the tool ($build)"
cmake --preset win32 -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DQUELTA_API_PRODUCTION="$production" -DQUELTA_API_STAGING="$staging" \
  -DQUELTA_DOWNLOAD_HOST="$download" -DQUELTA_EXTRA_CA_FILE="$ca" \
  -DQUELTA_PUBLISHER_KEY_FILE="$PWD/$build/publisher.pem" \
  -DQUELTA_PUBLISHER_NEXT_KEY_FILE="$next" -DQUELTA_BUILD_MINUTE="$(($(date +%s) / 60))" \
  >"$build.log" 2>&1 ||
  { tail -n 20 "$build.log" >&2; exit 1; }
cmake --build "$build" --target queltaConfig >>"$build.log" 2>&1 ||
  { grep -E 'error' "$build.log" | head -n 20 >&2; exit 1; }

echo "== release: pack"
cmake --preset native >/dev/null
cmake --build --preset native --target quelta-release >/dev/null
mkdir -p "$build/publish"
build/native/release/quelta-release "$build/publish" "$key" "$days" "$build/app/queltaConfig.exe" \
  "$files/queltaService.exe" "$files/libeay32.dll" "$files/ssleay32.dll"
