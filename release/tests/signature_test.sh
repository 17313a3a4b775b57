#!/usr/bin/env bash
# The Authenticode signatures of a release verify against the CA that issued
# the certificate, and a copy with one byte changed does not.
#
#   signature_test.sh CA_PEM FILE...
set -uo pipefail
ca="$1"
shift
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for file in "$@"; do
  if ! osslsigncode verify -CAfile "$ca" -in "$file" >"$work/verify.log" 2>&1; then
    echo "FAIL: $file does not verify:"; tail -n 5 "$work/verify.log"; status=1
  fi
  # A byte a third into the file: inside what the signature covers.
  changed="$work/$(basename "$file")"
  cp "$file" "$changed"
  offset=$(($(stat -c %s "$file") / 3))
  byte="$(od -An -tu1 -j "$offset" -N1 "$file" | tr -d ' ')"
  printf "$(printf '\\%03o' $((255 - byte)))" |
    dd of="$changed" bs=1 seek="$offset" conv=notrunc status=none
  if cmp -s "$file" "$changed"; then
    echo "FAIL: the copy of $file did not change"; status=1
  elif osslsigncode verify -CAfile "$ca" -in "$changed" >"$work/verify.log" 2>&1; then
    echo "FAIL: $file with byte $offset changed still verifies"; status=1
  fi
done
[ "$status" = 0 ] && echo "$# signatures verify; each one-byte change is caught"
exit $status
