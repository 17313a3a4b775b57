#!/usr/bin/env bash
# Signs a Windows program in place with Authenticode (SHA-256):
#
#   scripts/sign.sh FILE CERT KEY [TIMESTAMP_URL]
#
# CERT is the code-signing certificate in PEM, followed by the CAs between it
# and the root when there are any; KEY its private key in PEM, read where it
# lies and never copied; TIMESTAMP_URL an RFC 3161 time-stamping server,
# whose countersignature keeps the signature valid after the certificate
# expires. The signed program replaces FILE only once it is complete.
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: scripts/sign.sh FILE CERT KEY [TIMESTAMP_URL]" >&2
  exit 2
fi
file="$1" cert="$2" key="$3" timestamp="${4:-}"
signed="$file.signed"
rm -f "$signed"
args=(sign -h sha256 -n "Quelta Configuração" -certs "$cert" -key "$key")
if [ -n "$timestamp" ]; then args+=(-ts "$timestamp"); fi
if ! out="$(osslsigncode "${args[@]}" -in "$file" -out "$signed" 2>&1)"; then
  rm -f "$signed"
  echo "sign: $file could not be signed:" >&2
  echo "$out" | tail -n 5 >&2
  exit 1
fi
mv "$signed" "$file"
