#!/usr/bin/env bash
# Builds a release for real hosts and writes what the download host serves:
# build/release/publish/impressao.zip, version.json and version.json.sig,
# and beside them the setup program QueltaConfiguracao-<version>-setup.exe
# holding the same four files.
#
#   scripts/release.sh PRODUCTION STAGING DOWNLOAD FILES KEY [CA_FILE] [NEXT_KEY] [DAYS]
#                      [SIGN_CERT SIGN_KEY [TIMESTAMP_URL]]
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
#
# SIGN_CERT and SIGN_KEY, the publisher's code-signing certificate (PEM, with
# its intermediate CAs after it) and private key, sign queltaConfig.exe before
# it goes into the archive and the setup, the setup's uninstaller and the
# setup program (Authenticode, scripts/sign.sh), countersigned by the
# TIMESTAMP_URL server when one is named. The key is read where it lies and
# never copied. A release for the sandbox's hosts (this computer) is signed
# with the set-up's throwaway certificate; one for real hosts without a
# certificate is built unsigned and says so on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${1:-}" ] || [ -z "${2:-}" ] || [ -z "${3:-}" ] || [ -z "${4:-}" ] || [ -z "${5:-}" ]; then
  echo "usage: make release PRODUCTION=https://api.host STAGING=https://staging.host" \
       "DOWNLOAD=downloads.host FILES=dir KEY=private.pem [CA=file.pem] [NEXT=next-public.pem]" \
       "[DAYS=90] [SIGN_CERT=cert.pem SIGN_KEY=key.pem [TIMESTAMP=http://tsa.host]]" >&2
  exit 2
fi
production="$1" staging="$2" download="$3" files="$4" key="$5" ca="${6:-}" next="${7:-}"
days="${8:-90}"
sign_cert="${9:-}" sign_key="${10:-}" timestamp="${11:-}"
for name in queltaService.exe libeay32.dll ssleay32.dll; do
  [ -f "$files/$name" ] || { echo "release: $files/$name is missing" >&2; exit 1; }
done

if [ -n "$next" ]; then
  [ -f "$next" ] || { echo "release: $next is missing" >&2; exit 1; }
  next="$(realpath "$next")"
fi

# Only 127.0.0.1, other loopback addresses and localhost are the sandbox
# (as for the build's trust, cmake/QueltaTrust.cmake).
sandbox_hosts=1
for host in "$production" "$staging" "$download"; do
  [[ "$host" =~ ^([a-zA-Z]+://)?(127\.[0-9]+\.[0-9]+\.[0-9]+|localhost|\[::1\])(:[0-9]+)?/?$ ]] ||
    sandbox_hosts=0
done
certs="${QUELTA_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quelta-deps}/sandbox-certs-v1"
if [ -z "$sign_cert" ] && [ -z "$sign_key" ] && [ "$sandbox_hosts" = 1 ]; then
  sign_cert="$certs/codesign.pem" sign_key="$certs/codesign.key"
fi
if [ -n "$sign_cert$sign_key" ]; then
  [ -f "$sign_cert" ] || { echo "release: the certificate '$sign_cert' is missing" >&2; exit 1; }
  [ -f "$sign_key" ] || { echo "release: the key '$sign_key' is missing" >&2; exit 1; }
  sign_cert="$(realpath "$sign_cert")" sign_key="$(realpath "$sign_key")"
  # The certificate's key and the key given must be one pair.
  if [ "$(openssl x509 -in "$sign_cert" -noout -pubkey 2>/dev/null)" != \
       "$(openssl pkey -in "$sign_key" -pubout 2>/dev/null)" ]; then
    echo "release: $sign_key is not the private key of the certificate $sign_cert" >&2
    exit 1
  fi
  # Everyone's set-up cache holds the throwaway certificate's key: the
  # restaurants' programs are never signed with it.
  if [ "$sandbox_hosts" = 0 ] && [ -f "$certs/codesign.pem" ] &&
     cmp -s "$sign_cert" "$certs/codesign.pem"; then
    echo "release: $sign_cert is the sandbox's throwaway certificate; a release for" \
      "$production signs with the publisher's own (SIGN_CERT, SIGN_KEY)" >&2
    exit 1
  fi
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

# The four files as the archive and the setup hold them, the tool signed.
programs="$build/programs"
rm -rf "$programs"
mkdir -p "$programs"
cp "$build/app/queltaConfig.exe" "$files/queltaService.exe" "$files/libeay32.dll" \
  "$files/ssleay32.dll" "$programs/"
if [ -n "$sign_cert" ]; then
  echo "== release: sign queltaConfig.exe"
  scripts/sign.sh "$programs/queltaConfig.exe" "$sign_cert" "$sign_key" "$timestamp"
fi

echo "== release: pack"
cmake --preset native >/dev/null
cmake --build --preset native --target quelta-release >/dev/null
mkdir -p "$build/publish"
build/native/release/quelta-release "$build/publish" "$key" "$days" "$programs/queltaConfig.exe" \
  "$programs/queltaService.exe" "$programs/libeay32.dll" "$programs/ssleay32.dll"

echo "== release: setup program"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
setup="$build/publish/QueltaConfiguracao-$version-setup.exe"
scripts/installer.sh "$setup" "$version" x86-unicode "$programs" "$build/desinstalar.exe" \
  ${sign_cert:+"$sign_cert" "$sign_key" "$timestamp"}
if [ -n "$sign_cert" ]; then
  signer="$(openssl x509 -in "$sign_cert" -noout -subject -nameopt oneline | sed 's/^subject= *//')"
  echo "$setup; queltaConfig.exe, the uninstaller and the setup are signed by" \
    "$signer${timestamp:+, time-stamped by $timestamp}"
else
  echo "$setup; the programs are UNSIGNED (no SIGN_CERT and SIGN_KEY): Windows warns" \
    "before running them"
fi
