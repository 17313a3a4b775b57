#!/usr/bin/env bash
# A private CUPS server with one raw queue whose backend copies every job
# into a file, so a real print job of the Windows program under Wine can be
# checked for pages.
#
#   cups_printer.sh start DIR QUEUE   start cupsd in DIR, add QUEUE as the default
#   cups_printer.sh stop DIR          stop that cupsd
#
# Wine finds the server through CUPS_SERVER=DIR/cups.sock; jobs land in
# DIR/out/QUEUE.prn.
#
# DIR is a link to a directory of the system's temporary folder: the
# scheduler's configuration, device URIs and socket cannot name a path with
# blanks, and a socket path is short, while a checkout may lie anywhere.
set -euo pipefail

cmd="${1:?start or stop}"
link="${2:?directory}"

stop() {
  [ -L "$link" ] || return 0
  local real
  real="$(readlink "$link")"
  if [ -f "$real/cupsd.pid" ]; then
    pid="$(cat "$real/cupsd.pid")"
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -rf "$real" "$link"
}

case "$cmd" in
  stop)
    stop
    echo "cups stopped"
    exit 0
    ;;
  start) ;;
  *) echo "usage: $0 start|stop DIR [QUEUE]" >&2; exit 2 ;;
esac

queue="${3:?queue name}"
stop
rm -rf "$link"
mkdir -p "$(dirname "$link")"
dir="$(mktemp -d "${TMPDIR:-/tmp}/quelta-cups.XXXXXX")"
chmod 0755 "$dir"
ln -s "$dir" "$link"
cupsd_bin="$(command -v cupsd || echo /usr/sbin/cupsd)"
if [ ! -x "$cupsd_bin" ] || ! command -v lpadmin >/dev/null; then
  echo "cupsd or lpadmin missing: run 'make setup' (packages cups-daemon, cups-client)" >&2
  exit 1
fi

mkdir -p "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/logs" "$dir/out" "$dir/etc/ppd" \
  "$dir/bin/backend"
chmod 0777 "$dir/out" "$dir/spool/tmp"

# The scheduler's own programs, plus a backend "capture" that writes the
# job's bytes to the path of its device URI (capture:/path). A raw queue
# with the built-in file device runs no program at all and writes nothing.
for sub in filter daemon notifier; do
  [ -d "/usr/lib/cups/$sub" ] && ln -s "/usr/lib/cups/$sub" "$dir/bin/$sub"
done
cat >"$dir/bin/backend/capture" <<'SH'
#!/bin/sh
[ $# -eq 0 ] && { echo 'direct capture "Unknown" "Job capture"'; exit 0; }
umask 022
target="${DEVICE_URI#capture:}"
if [ -n "$6" ]; then cat "$6"; else cat; fi >"$target.part" && mv "$target.part" "$target"
SH
# Only its owner may run it, so the scheduler runs it as that user rather than
# as "lp", which cannot reach a checkout in a home folder closed to others.
chmod 0700 "$dir/bin/backend/capture"

cat >"$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing No
LogLevel debug2
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
DataDir /usr/share/cups
ServerBin $dir/bin
AccessLog $dir/logs/access_log
ErrorLog $dir/logs/error_log
PageLog $dir/logs/page_log
Sandboxing Relaxed
CONF

rm -f "$dir/cups.sock"
"$cupsd_bin" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" </dev/null \
  >"$dir/logs/cupsd.out" 2>&1 &
echo $! >"$dir/cupsd.pid"
trap 'echo "setting up the queue failed" >&2; stop' ERR

export CUPS_SERVER="$dir/cups.sock"
for _ in $(seq 100); do
  [ -S "$dir/cups.sock" ] && lpstat -r >/dev/null 2>&1 && break
  sleep 0.1
done
if ! lpstat -r >/dev/null 2>&1; then
  echo "cupsd did not start:" >&2
  cat "$dir/logs/cupsd.out" "$dir/logs/error_log" 2>/dev/null >&2 || true
  stop
  exit 1
fi

lpadmin -p "$queue" -v "capture:$dir/out/$queue.prn" -E 2>/dev/null
lpadmin -d "$queue"
lpstat -p "$queue" -d
