#!/usr/bin/env bash
# The sandbox cloud for the Windows tests: the native server, started for a
# test run (Wine programs reach the host's 127.0.0.1).
#
#   sandbox_cloud.sh start DIR EXE [PORT]   start EXE, write its ready line to DIR/ready
#   sandbox_cloud.sh stop DIR               stop the sandbox started in DIR
#
# Every endpoint takes a free port, so a sandbox of `make run` or of another
# build never gets in the way; only PORT, when given, fixes the download
# port, for tests of a tool built to look there alone. The download files are
# those the tests write to DIR/files (read afresh for every request).
# DIR/ready holds the line "sandbox-cloud ready: production=URL staging=URL
# download=URL download-http=URL"; the tests read their endpoints from it.
# The win32 preset cannot build the native server: when EXE is missing it is
# built here in the native preset's build tree, and a failure to do so fails
# the fixture (the tests must never pass by not running).
set -euo pipefail

cmd="${1:?start or stop}"
dir="$(mkdir -p "${2:?directory}" && cd "$2" && pwd)"

stop() {
  if [ -f "$dir/pid" ]; then
    local pid
    pid="$(cat "$dir/pid")"
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$dir/pid"
  fi
  rm -f "$dir/ready"
}

case "$cmd" in
  stop)
    stop
    echo "sandbox cloud stopped"
    exit 0
    ;;
  start) ;;
  *) echo "usage: $0 start DIR EXE [PORT] | stop DIR" >&2; exit 2 ;;
esac

exe="${3:?sandbox-cloud executable}"
port="${4:-0}"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"

if [ ! -x "$exe" ]; then
  echo "sandbox-cloud not built yet ($exe): building it in the native preset"
  if ! (cd "$source_dir" && cmake --preset native >/dev/null &&
        cmake --build --preset native --target sandbox-cloud); then
    echo "FAILED: could not build the sandbox cloud; run 'make setup' and build the native preset" >&2
    exit 1
  fi
  exe="$source_dir/build/native/standins/cloud/sandbox-cloud"
  if [ ! -x "$exe" ]; then
    echo "FAILED: the native build made no $exe" >&2
    exit 1
  fi
fi

stop
# Two servers on one port would share its connections: the tool could be
# answered by the other one.
if [ "$port" != 0 ] && (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  echo "FAILED: the download port $port is already in use (another sandbox cloud, such as" \
    "the one of 'make run'?); stop it and run the tests again" >&2
  exit 1
fi
rm -rf "$dir/files"
mkdir -p "$dir/files"
"$exe" --production-port 0 --staging-port 0 --download-port "$port" --download-http-port 0 \
  --files "$dir/files" </dev/null >"$dir/sandbox.log" 2>&1 &
echo $! >"$dir/pid"

for _ in $(seq 100); do
  if grep -q '^sandbox-cloud ready: ' "$dir/sandbox.log"; then
    grep '^sandbox-cloud ready: ' "$dir/sandbox.log" >"$dir/ready.part"
    mv "$dir/ready.part" "$dir/ready"
    cat "$dir/ready"
    exit 0
  fi
  kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
  sleep 0.1
done

echo "FAILED: the sandbox cloud did not start (download port $port):" >&2
cat "$dir/sandbox.log" >&2
stop
exit 1
