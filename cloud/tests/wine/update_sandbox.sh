#!/usr/bin/env bash
# The download server of the update tests under Wine: the native sandbox
# cloud, serving the files of DIR/files on the download port the tool was
# built with (the tool itself has no other place to look), its other
# endpoints on free ports. Wine programs reach the host's 127.0.0.1.
#
#   update_sandbox.sh start DIR EXE PORT   start EXE, wait until it answers
#   update_sandbox.sh stop DIR             stop the sandbox started in DIR
#
# The tests write DIR/files/version.json and DIR/files/impressao.zip; the
# sandbox reads them afresh for every request. The win32 preset cannot build
# the native server: when EXE is missing it is built in the native preset's
# build tree, and a failure to do so fails the fixture.
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
}

case "$cmd" in
  stop)
    stop
    echo "update sandbox stopped"
    exit 0
    ;;
  start) ;;
  *) echo "usage: $0 start DIR EXE PORT | stop DIR" >&2; exit 2 ;;
esac

exe="${3:?sandbox-cloud executable}"
port="${4:?download port}"
source_dir="$(cd "$(dirname "$0")/../../.." && pwd)"

if [ ! -x "$exe" ]; then
  echo "sandbox-cloud not built yet ($exe): building it in the native preset"
  if ! (cd "$source_dir" && cmake --preset native >/dev/null &&
        cmake --build --preset native --target sandbox-cloud); then
    echo "FAILED: could not build the sandbox cloud; run 'make setup' and build the native preset" >&2
    exit 1
  fi
  exe="$source_dir/build/native/standins/cloud/sandbox-cloud"
fi

stop
# Two servers on one port would share its connections: the tool could be
# answered by the other one.
if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
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
    grep '^sandbox-cloud ready: ' "$dir/sandbox.log"
    exit 0
  fi
  kill -0 "$(cat "$dir/pid")" 2>/dev/null || break
  sleep 0.1
done

echo "FAILED: the sandbox cloud did not start on the download port $port:" >&2
cat "$dir/sandbox.log" >&2
stop
exit 1
