#!/usr/bin/env bash
# How the main window answers while the other side hangs: the tool runs from
# a temporary application directory under Wine, and window_probe sends its
# window a message every 50 ms for SECONDS (30) and prints the worst
# response. MODE says what hangs:
#   servico      (default) a listener on 127.0.0.1:7777 accepts every
#                connection and never answers; the tool runs logged in
#   diagnostico  the same, and a receipt printer on 127.0.0.1:9100 as silent,
#                probing the diagnosis window while its checks wait
#   teste        the same, "Testar" through the service for a printer of the table
#   configuracao "Testar" through the configuration: the printer is a share
#                (a pipe nobody reads) and the test waits the pause after
#                the job
#   salvar       the configuration's "Salvar" while the category table is held
#                open by another program
#   reiniciar    "Reiniciar Servidor" with the print service stand-in, which the
#                tool's start-up installs and starts: the stop is waited for
#   inicio       the sandbox cloud holds the version manifest: the start-up's
#                version check waits
#   acessar      the sandbox cloud holds the token request: "Acessar" waits
#   atualizar    the sandbox cloud holds the categories: the configuration's
#                "Atualizar" waits
#   download     the sandbox cloud offers a signed new version and holds its
#                archive: the download after "Sim" waits
# The ports are the computer's: run it in a private network namespace,
#   unshare -n bash -c 'ip link set lo up && bash scripts/hang-probe.sh [SECONDS] [MODE]'
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
. scripts/wine-env.sh
quelta_windows_build "the probe measures"
windows="$QUELTA_PRESET"
cmake --preset "$windows" >/dev/null
cmake --build --preset "$windows" --target queltaConfig queltaService window_probe >/dev/null

mode="${2:-servico}"
cmake --preset native >/dev/null
cmake --build --preset native --target sandbox-cloud >/dev/null
work="$(mktemp -d "$PWD/build/hang-probe.XXXXXX")"
listener=""
trap 'kill $listener 2>/dev/null || true; uninstall; WINEPREFIX="$WINEPREFIX" scripts/wine-run.sh --stop >/dev/null; rm -rf "$work"' EXIT
cp "build/$windows/app/queltaConfig.exe" "$work/"

windows() { echo "Z:$(echo "$1" | tr '/' '\\')"; }
uninstall() { :; }
case "$mode" in
  reiniciar)
    printf '[CONFIG]\r\ntoken=abc\r\n' >"$work/quelta.dll"
    cp "build/$windows/standins/service/queltaService.exe" "$work/"
    uninstall() {
      quelta_wine "$QUELTA_WINE_BITS"
      WINEPREFIX="$WINEPREFIX" "$WINELOADER" "$(windows "$work/queltaService.exe")" /UNINSTALL \
        /SILENT >/dev/null 2>&1 || true
    }
    ;;
  servico | diagnostico | teste)
    printf '[CONFIG]\r\ntoken=abc\r\n' >"$work/quelta.dll"
    printf '%s' '[{"name":"Cozinha","tipo":"Generic Text","padrao":"Sim"}]' >"$work/impressora"
    # diagnostico: a receipt printer on the network as well, asked for its
    # state and silent.
    [ "$mode" = diagnostico ] && printf '%s' '[{"name":"Cozinha","tipo":"Generic Text","padrao":"Sim"},{"name":"Caixa","tipo":"EPSON DLL","padrao":"N\u00e3o","endereco":"127.0.0.1:9100"}]' >"$work/impressora"
    # Accepts on the print service's port and a printer's raw port for at
    # most the probe's time and a minute more, answers nothing.
    python3 - "$((seconds + 60))" <<'PY' &
import select, socket, sys, time
servers = []
for port in (7777, 9100):
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(64)
    servers.append(server)
held = []
end = time.time() + float(sys.argv[1])
while time.time() < end:
    for server in select.select(servers, [], [], 0.5)[0]:
        held.append(server.accept()[0])
        print("held: a connection on port %d" % server.getsockname()[1], flush=True)
PY
    listener=$!
    ;;
  configuracao | salvar)
    # Logged in, no print service: its refreshes fail at once. The printer is
    # a share whose bytes nobody reads: a pipe without a reader.
    printf '[CONFIG]\r\ntoken=abc\r\n' >"$work/quelta.dll"
    mkfifo "$work/cozinha"
    python3 - "$work" <<'PY'
import json, sys
share = "\\\\?\\Z:" + sys.argv[1].replace("/", "\\") + "\\cozinha"
with open(sys.argv[1] + "/impressora", "w") as f:
    f.write(json.dumps([{"name": share, "tipo": "Generic Text", "padrao": "Sim", "tipoTexto": "Outro",
                         "tamanhoFolha": "40", "fonteTitulo": "12 Negrito", "fonteItem": "10"}]))
PY
    printf '[]' >"$work/categoria"
    ;;
  inicio | acessar | atualizar | download)
    files="$work/files"
    mkdir -p "$files"
    fail="kind=hang&path=/token"
    [ "$mode" = inicio ] && fail="kind=hang&path=/impressao/version.json"
    if [ "$mode" = atualizar ]; then
      fail="kind=hang&path=/categorias"
      printf '[CONFIG]\r\ntoken=abc\r\n' >"$work/quelta.dll"
    fi
    if [ "$mode" = download ]; then
      # A new version, signed with the sandbox's publisher key as the
      # default build trusts it; its archive is held.
      fail="kind=hang&path=/impressao/impressao.zip"
      certs="${QUELTA_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quelta-deps}/sandbox-certs-v1"
      head -c 200000 /dev/urandom >"$files/impressao.zip"
      minutes=$(($(date +%s) / 60))
      printf '{"success":true,"versao":"9.9.99","sha256":"%s","tamanho":%d,"publicacao":%d,"expira":"%s"}' \
        "$(sha256sum "$files/impressao.zip" | cut -d' ' -f1)" 200000 "$minutes" \
        "$(date -u -d '+1 day' +%Y-%m-%dT%H:%M:%SZ)" >"$files/version.json"
      openssl pkeyutl -sign -inkey "$certs/publisher.key" -rawin -in "$files/version.json" \
        -out "$files/version.json.sig"
    fi
    build/native/standins/cloud/sandbox-cloud --files "$files" --fail "$fail" \
      </dev/null >"$work/sandbox.log" 2>&1 &
    listener=$!
    for _ in $(seq 50); do grep -q '^sandbox-cloud ready' "$work/sandbox.log" && break; sleep 0.1; done
    ;;
  *) echo "hang-probe: no mode $mode (servico, diagnostico, teste, configuracao, salvar," \
       "reiniciar, inicio, acessar, atualizar, download)" >&2
     exit 2 ;;
esac

export WINEPREFIX="$PWD/build/$windows/probe-prefix"
unset DISPLAY
scripts/wine-run.sh --start >/dev/null
scripts/wine-run.sh --gui "build/$windows/bench/window_probe.exe" \
  "$(windows "$work/queltaConfig.exe")" "$(windows "$work")" "$seconds" 50 "$mode"
# What the tool wrote to its day log meanwhile.
cat "$work"/log/* 2>/dev/null | tail -n 3 | sed 's/^/day log: /'
if [ -f "$work/sandbox.log" ]; then
  # What the sandbox was asked, the held request among it.
  production="$(sed -n 's/^sandbox-cloud ready: production=\([^ ]*\).*/\1/p' "$work/sandbox.log")"
  curl -sk "$production/__control/requests" | sed 's/^/asked: /'
fi
