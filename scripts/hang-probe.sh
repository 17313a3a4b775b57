#!/usr/bin/env bash
# How the main window answers while the print service hangs: a listener on
# 127.0.0.1:7777 accepts every connection and never answers, the tool runs
# logged in from a temporary application directory under Wine, and
# window_probe sends its window a message every 50 ms for 30 s and prints
# the worst response. The port is the computer's: run it in a private
# network namespace,
#   unshare -n bash -c 'ip link set lo up && bash scripts/hang-probe.sh [SECONDS] [diagnostico]'
# With "diagnostico" the probe opens the diagnosis window first and measures
# that window while its checks wait on the hung service.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
. scripts/wine-env.sh
quelta_windows_build "the probe measures"
windows="$QUELTA_PRESET"
cmake --preset "$windows" >/dev/null
cmake --build --preset "$windows" --target queltaConfig window_probe >/dev/null

work="$(mktemp -d "$PWD/build/hang-probe.XXXXXX")"
trap 'kill "$listener" 2>/dev/null || true; WINEPREFIX="$WINEPREFIX" scripts/wine-run.sh --stop >/dev/null; rm -rf "$work"' EXIT
cp "build/$windows/app/queltaConfig.exe" "$work/"
printf '[CONFIG]\r\ntoken=abc\r\n' >"$work/quelta.dll"

# Accepts for at most the probe's time and a minute more, answers nothing.
python3 - "$((seconds + 60))" <<'PY' &
import socket, sys, time
server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 7777))
server.listen(64)
server.settimeout(0.5)
held = []
end = time.time() + float(sys.argv[1])
while time.time() < end:
    try:
        held.append(server.accept()[0])
    except socket.timeout:
        pass
PY
listener=$!

export WINEPREFIX="$PWD/build/$windows/probe-prefix"
unset DISPLAY
scripts/wine-run.sh --start >/dev/null
windows() { echo "Z:$(echo "$1" | tr '/' '\\')"; }
scripts/wine-run.sh --gui "build/$windows/bench/window_probe.exe" \
  "$(windows "$work/queltaConfig.exe")" "$(windows "$work")" "$seconds" 50 ${2:-}
