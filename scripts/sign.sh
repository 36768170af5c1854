#!/bin/bash
# Signs programs and MSIs in place with the maker's Authenticode certificate
# (osslsigncode, SHA-256): QX_SIGN_PFX names the PFX file, QX_SIGN_PASSWORD
# holds its password, QX_SIGN_TIMESTAMP optionally a time-stamp server's URL.
# Without QX_SIGN_PFX nothing is signed. A folder stands for its programs.
#   sign.sh FILE|FOLDER...
set -euo pipefail
if [ -z "${QX_SIGN_PFX:-}" ]; then
  echo "sign: no certificate (QX_SIGN_PFX): nothing signed"
  exit 0
fi
if [ ! -f "$QX_SIGN_PFX" ]; then
  echo "sign: no certificate at $QX_SIGN_PFX" >&2
  exit 1
fi
timestamp=()
[ -n "${QX_SIGN_TIMESTAMP:-}" ] && timestamp=(-ts "$QX_SIGN_TIMESTAMP")
files=()
for argument in "$@"; do
  if [ -d "$argument" ]; then files+=("$argument"/*.exe); else files+=("$argument"); fi
done
for file in "${files[@]}"; do
  # The password goes through a pipe, never on a command line that others can read.
  osslsigncode sign -pkcs12 "$QX_SIGN_PFX" -readpass <(printf '%s' "${QX_SIGN_PASSWORD:-}") \
    -n "Quillex Printer Driver" -h sha256 "${timestamp[@]}" -in "$file" -out "$file.signed" >/dev/null
  mv -f "$file.signed" "$file"
  echo "sign: $file"
done
