#!/usr/bin/env bash
# `make run`: builds, lays out a demo application directory with the tool and
# the stand-ins beside it, and opens the tool under Wine: on $DISPLAY when
# there is one, otherwise on Xvfb, saving a screenshot after a few seconds.
# The 32-bit build where this machine runs 32-bit programs, else the 64-bit
# one (WINDOWS=32 or 64 chooses, as for `make test`).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
quelta_windows_build "the tool runs"
windows="$QUELTA_PRESET"

cmake --preset "$windows" >/dev/null
cmake --build --preset "$windows"
if [ -d standins/cloud ]; then
  cmake --preset native >/dev/null
  cmake --build --preset native
fi

demo="$PWD/build/demo"
mkdir -p "$demo"
cp "build/$windows/app/queltaConfig.exe" "$demo/"
for f in "build/$windows"/standins/*/queltaService.exe "build/$windows"/standins/*/InterfaceEpsonNF.dll; do
  [ -f "$f" ] && cp "$f" "$demo/"
done
[ -x scripts/run-extras.sh ] && . scripts/run-extras.sh

export WINEPREFIX="$PWD/build/demo-prefix-$windows"
quelta_wine "$QUELTA_WINDOWS"
# The restaurant's Windows: Portuguese (Brazil), code pages 1252 and 850.
export LC_ALL=pt_BR.UTF-8
if [ ! -f "$WINEPREFIX/.ready" ]; then
  "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.ready"
fi

# The sandbox cloud on the ports the default build talks to, for this
# session only: the demo account of README.md logs in against it.
sandbox_pid=""
stop_sandbox() {
  if [ -n "$sandbox_pid" ]; then
    kill "$sandbox_pid" 2>/dev/null || true
    wait "$sandbox_pid" 2>/dev/null || true
  fi
}
sandbox=build/native/standins/cloud/sandbox-cloud
if [ -x "$sandbox" ]; then
  "$sandbox" </dev/null >"$demo/sandbox-cloud.log" 2>&1 &
  sandbox_pid=$!
  trap stop_sandbox EXIT
  for _ in $(seq 50); do
    grep -q '^sandbox-cloud ready' "$demo/sandbox-cloud.log" && break
    kill -0 "$sandbox_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! grep -q '^sandbox-cloud ready' "$demo/sandbox-cloud.log"; then
    echo "the sandbox cloud did not start (is another one running on its ports?):" >&2
    cat "$demo/sandbox-cloud.log" >&2
    exit 1
  fi
  echo "sandbox cloud running (log: $demo/sandbox-cloud.log); log in as demo@quelta.com.br / quelta123"
fi

echo "demo application directory: $demo"
if [ -n "${DISPLAY:-}" ]; then
  "$WINELOADER" "$demo/queltaConfig.exe"
else
  shot="$demo/screenshot.png"
  # Nobody logs in or presses a button on Xvfb: a demo directory without
  # settings yet is laid out as a restaurant that has logged in and set up
  # two printers, so the picture shows the log screen. Once the tool's
  # start-up has installed and started the print service, the service is
  # asked for a test print and sent one load-test order; the log screen's
  # next refresh (every 10 s) shows them.
  if [ ! -f "$demo/quelta.dll" ]; then
    # The demo account's own token when the sandbox cloud runs, so that
    # "Atualizar" works in a later session with a display.
    token=prd.demo
    if [ -n "$sandbox_pid" ]; then
      ca="${QUELTA_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quelta-deps}/sandbox-certs-v1/ca.pem"
      reply="$(curl -sf --cacert "$ca" \
        'https://127.0.0.1:8443/token?username=demo%40quelta.com.br&password=quelta123' || true)"
      got="$(printf '%s' "$reply" | sed -n 's/.*"token":"\([^"]*\)".*/\1/p')"
      [ -n "$got" ] && token="$got"
    fi
    printf '[CONFIG]\r\ntoken=%s\r\nnomeEmpresa=Restaurante Sabor da Terra\r\n' "$token" >"$demo/quelta.dll"
    printf '%s' '[{"name":"Cozinha","tipo":"Generic Text","padrao":"Sim","tipoTexto":"Epson","tamanhoFolha":"40","fonteTitulo":"12 Negrito","fonteItem":"10"},{"name":"Bar","tipo":"Outro","padrao":"N\u00e3o","tipoTexto":"Outro","tamanhoFolha":"40","fonteTitulo":"10","fonteItem":"10"}]' >"$demo/impressora"
    printf '%s' '[{"id":3101,"name":"Pratos","printer":"Cozinha"},{"id":3102,"name":"Bebidas","printer":"Bar"}]' >"$demo/categoria"
  fi
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$WINELOADER" "$1/queltaConfig.exe" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 60); do
      curl -sf "http://127.0.0.1:7777?status" >/dev/null && break
      sleep 0.5
    done
    curl -sf "http://127.0.0.1:7777?teste=1" >/dev/null || true
    item="{\"qtd\":\"1\",\"category\":\"%s\",\"title\":\"ITEM 01 DESCRICAO\",\"attr\":[\"  >> Opcional Descricao\"]}"
    order="{\"table\":1,\"card\":1,\"items\":[$(printf "$item" 3101), $(printf "$item" 3102)]}"
    curl -sf --http1.0 -H "Content-Type: application/json; charset=utf-8" --data "$order" \
      http://127.0.0.1:7777 >/dev/null || true
    sleep 11
    import -window root "$2"
    wineserver -k
  ' run "$demo" "$shot"
  echo "no display: the tool ran on Xvfb; screenshot saved to $shot"
fi
