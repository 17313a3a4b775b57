#!/usr/bin/env bash
# Builds the setup program (release/installer.nsi) with NSIS:
#
#   scripts/installer.sh OUT VERSION TARGET FILES UNINSTALLER [CERT KEY [TIMESTAMP_URL]]
#
# OUT is the setup program written; VERSION the version it installs; TARGET
# x86-unicode (the release) or amd64-unicode (the 64-bit test build); FILES
# the folder holding queltaConfig.exe, queltaService.exe, libeay32.dll and
# ssleay32.dll, installed as they are; UNINSTALLER where a copy of the
# uninstaller the setup installs is kept. With CERT and KEY the uninstaller
# is signed before it is packed and the setup program after it is written
# (scripts/sign.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 5 ]; then
  echo "usage: scripts/installer.sh OUT VERSION TARGET FILES UNINSTALLER [CERT KEY [TIMESTAMP_URL]]" >&2
  exit 2
fi
out="$1" version="$2" target="$3" files="$4" uninstaller="$5"
cert="${6:-}" key="${7:-}" timestamp="${8:-}"
command -v makensis >/dev/null || { echo "installer: makensis is missing: run 'make setup'" >&2; exit 1; }
for name in queltaConfig.exe queltaService.exe libeay32.dll ssleay32.dll; do
  [ -f "$files/$name" ] || { echo "installer: $files/$name is missing" >&2; exit 1; }
done
out="$(realpath -m "$out")"
uninstaller="$(realpath -m "$uninstaller")"
files="$(realpath "$files")"
mkdir -p "$(dirname "$out")" "$(dirname "$uninstaller")"
rm -f "$out" "$uninstaller"

# makensis runs these through the shell; "%1" is the file it hands over.
quote() { printf "'%s'" "${1//\'/\'\\\'\'}"; }
sign=""
if [ -n "$cert" ]; then
  sign="bash $(quote "$PWD/scripts/sign.sh") \"%1\" $(quote "$cert") $(quote "$key")"
  [ -n "$timestamp" ] && sign+=" $(quote "$timestamp")"
fi
keep_uninstaller="cp \"%1\" $(quote "$uninstaller")"
if [ -n "$sign" ]; then
  uninst_finalize="$sign && $keep_uninstaller"
  finalize="$sign"
else
  uninst_finalize="$keep_uninstaller"
  finalize="true"
fi

log="$uninstaller.makensis.log"
if ! makensis -V2 -INPUTCHARSET UTF8 -NOCD \
    "-DVERSION=$version" "-DTARGET=$target" "-DFILES=$files" \
    "-DICON=$PWD/app/queltaConfig.ico" "-DOUTFILE=$out" \
    "-DUNINST_FINALIZE=$uninst_finalize" "-DFINALIZE=$finalize" \
    release/installer.nsi >"$log" 2>&1; then
  tail -n 20 "$log" >&2
  rm -f "$out"
  exit 1
fi
[ -f "$uninstaller" ] || { echo "installer: the uninstaller was not kept" >&2; exit 1; }
