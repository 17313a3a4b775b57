# Sourced by the scripts that run Windows programs: which Windows build this
# machine runs, Wine for that build, and a network of the run's own.
#
#   quelta_windows_choose [32|64]  sets QUELTA_WINDOWS to 32 or 64 and, when
#       the choice is not the 32-bit build or cannot be, QUELTA_WINDOWS_WHY
#       to the reason; returns 1 when the build asked for cannot run here,
#       2 when WINDOWS names no build.
#   quelta_windows_build WHO       chooses from WINDOWS (32, 64 or empty) and
#       says so ("...: WHO the 64-bit build under 64-bit Wine"); sets
#       QUELTA_PRESET (win32 or win64) and exports QUELTA_WINE_BITS for the
#       Wine runner. Exits, saying why, when the build asked for cannot run.
#   quelta_wine 32|64              exports WINEARCH and WINELOADER (the loader
#       of that build: "$WINELOADER" prog args runs a program) and the quiet
#       defaults of a test prefix.
#   quelta_own_network             sets QUELTA_NET to the command prefix that
#       runs a command in a network namespace of its own, loopback up, or to
#       nothing and QUELTA_NET_WHY to the reason.
#
# The program restaurants get is 32-bit. Some machines run 64-bit user code
# only (their kernel has no IA-32 emulation): there no 32-bit Linux program
# starts, and Debian's Wine runs 32-bit Windows programs only through its
# 32-bit loader. The 64-bit build of the same sources, under the 64-bit
# loader in a 64-bit prefix, runs the suite there.

QUELTA_WINE32_LOADER=/usr/lib/wine/wine
QUELTA_WINE64_LOADER=/usr/lib/wine/wine64

quelta_windows_choose() {
  local asked="${1:-}" reason="" out
  QUELTA_WINDOWS=32
  QUELTA_WINDOWS_WHY=""
  case "$asked" in
    "" | 32 | 64) ;;
    *) QUELTA_WINDOWS_WHY="WINDOWS=$asked: the Windows build is 32 or 64"; return 2 ;;
  esac
  if [ "$asked" = 64 ]; then
    reason="WINDOWS=64"
  elif [ ! -e "$QUELTA_WINE32_LOADER" ]; then
    reason="the 32-bit Wine is not installed (package wine32:i386)"
  elif ! out="$("$QUELTA_WINE32_LOADER" --version 2>&1 </dev/null)"; then
    case "$out" in
      *"xec format error"*) reason="this machine runs no 32-bit program" ;;
      *) reason="the 32-bit Wine does not start ($(echo "$out" | tail -n 1))" ;;
    esac
  fi
  [ -z "$reason" ] && return 0
  QUELTA_WINDOWS_WHY="$reason"
  if [ "$asked" = 32 ]; then return 1; fi
  QUELTA_WINDOWS=64
  if [ ! -x "$QUELTA_WINE64_LOADER" ]; then
    QUELTA_WINDOWS_WHY="$reason, and the 64-bit Wine is not installed: run 'make setup'"
    return 1
  fi
}

quelta_windows_build() {
  local rc=0
  quelta_windows_choose "${WINDOWS:-}" || rc=$?
  if [ "$rc" = 2 ]; then echo "$QUELTA_WINDOWS_WHY" >&2; exit 1; fi
  if [ "$rc" != 0 ]; then
    echo "$QUELTA_WINDOWS_WHY: the ${WINDOWS:+$WINDOWS-bit }Windows build cannot run here" >&2
    exit 1
  fi
  QUELTA_PRESET="win$QUELTA_WINDOWS"
  export QUELTA_WINE_BITS="$QUELTA_WINDOWS"
  if [ "$QUELTA_WINDOWS" = 64 ]; then
    echo "$QUELTA_WINDOWS_WHY: $1 the 64-bit build under 64-bit Wine"
  fi
}

quelta_wine() {
  if [ "$1" = 64 ]; then
    export WINEARCH=win64 WINELOADER="$QUELTA_WINE64_LOADER"
  else
    export WINEARCH=win32 WINELOADER="$QUELTA_WINE32_LOADER"
  fi
  export WINEDEBUG="${WINEDEBUG:--all}"
  # No Mono or Gecko installer prompts in a fresh prefix.
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
}

# The suite's servers take fixed ports (the print service's 7777, the
# download host the tool is built for): in a namespace of its own a run
# meets no other program on them, such as a `make run` beside it.
quelta_own_network() {
  local up='ip link set lo up && exec "$@"'
  QUELTA_NET=()
  QUELTA_NET_WHY=""
  if ! command -v unshare >/dev/null || ! command -v ip >/dev/null; then
    QUELTA_NET_WHY="unshare or ip is missing"
  elif unshare -n bash -c "$up" - true 2>/dev/null; then
    QUELTA_NET=(unshare -n bash -c "$up" -)
  elif unshare -rn bash -c "$up" - true 2>/dev/null; then
    QUELTA_NET=(unshare -rn bash -c "$up" -)
  else
    QUELTA_NET_WHY="this machine allows no network namespace (not root, no user namespaces)"
  fi
}
