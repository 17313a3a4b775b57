#!/usr/bin/env bash
# The two setup programs of the setup's Wine test, made as `make release`
# makes one (scripts/installer.sh):
#
#   test_setups.sh OUT VERSION TARGET CONFIG_EXE SERVICE_EXE CERTS_DIR
#
# OUT/old: release 1.0.0, unsigned, whose programs carry a mark at their end
# (past the image, where Windows reads nothing) so that the upgrade shows
# which files it left; OUT/new: this build's VERSION with queltaConfig.exe,
# the uninstaller and the setup signed with the sandbox's code-signing
# certificate from CERTS_DIR. Each holds setup.exe, programs/ (what it
# installs) and desinstalar.exe (its uninstaller).
set -euo pipefail
out="$1" version="$2" target="$3" config="$4" service="$5" certs="$6"
root="$(cd "$(dirname "$0")/../../.." && pwd)"
for release in old new; do
  programs="$out/$release/programs"
  rm -rf "$programs"
  mkdir -p "$programs"
  cp "$config" "$programs/queltaConfig.exe"
  cp "$service" "$programs/queltaService.exe"
  printf 'libeay32 (%s)' "$release" >"$programs/libeay32.dll"
  printf 'ssleay32 (%s)' "$release" >"$programs/ssleay32.dll"
done
printf '\nvers\xe3o antiga' >>"$out/old/programs/queltaConfig.exe"
printf '\nvers\xe3o antiga' >>"$out/old/programs/queltaService.exe"
"$root/scripts/installer.sh" "$out/old/setup.exe" 1.0.0 "$target" "$out/old/programs" \
  "$out/old/desinstalar.exe"
"$root/scripts/sign.sh" "$out/new/programs/queltaConfig.exe" "$certs/codesign.pem" "$certs/codesign.key"
"$root/scripts/installer.sh" "$out/new/setup.exe" "$version" "$target" "$out/new/programs" \
  "$out/new/desinstalar.exe" "$certs/codesign.pem" "$certs/codesign.key"
