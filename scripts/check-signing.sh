#!/bin/bash
# What `make sign` does, with a throwaway certificate made here by openssl:
# without a certificate nothing is signed; with it, every program of a copy
# of dist/ and the MSI built from that copy carry a signature that
# osslsigncode verifies against the certificate, and so does the custom
# action's DLL that goes into it.
#   check-signing.sh DIST VERSION ACTION_DLL
set -euo pipefail
dist=$1 version=$2
scripts=$(dirname "$0")
for tool in osslsigncode openssl wixl msibuild; do
  command -v $tool >/dev/null || { echo "skipped: no $tool (scripts/install-deps.sh installs it)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$dist" "$work/dist"
cp "$3" "$work/action.dll"
programs=("$work"/dist/*.exe "$work/action.dll")

status=0
verify() {  # FILE EXPECTED(signed|unsigned)
  if osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.txt" 2>&1; then found=signed; else found=unsigned; fi
  [ "$found" = "$2" ] && return
  echo "FAIL: $1 is $found, expected $2"; tail -5 "$work/verify.txt"; status=1
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 1 \
  -subj "/CN=Quillex throwaway test signer" 2>/dev/null
password="throwaway-$RANDOM"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signer.pfx" -passout "pass:$password"

QX_SIGN_PFX= bash "$scripts/sign.sh" "$work/dist" "$work/action.dll"
for program in "${programs[@]}"; do verify "$program" unsigned; done

export QX_SIGN_PFX="$work/signer.pfx" QX_SIGN_PASSWORD="$password"
bash "$scripts/sign.sh" "$work/dist" "$work/action.dll"
python3 "$scripts/make-msi.py" "$work/dist" "$work/QuillexPrinterDriver.msi" "$version" "$work/action.dll" >/dev/null
bash "$scripts/sign.sh" "$work/QuillexPrinterDriver.msi"
for file in "${programs[@]}" "$work/QuillexPrinterDriver.msi"; do verify "$file" signed; done
# The MSI carries the signed programs, not the ones dist/ had before.
msiextract -C "$work/extracted" "$work/QuillexPrinterDriver.msi" >/dev/null
for program in "$work"/dist/*.exe; do
  extracted=$(find "$work/extracted" -name "$(basename "$program")" | head -1)
  cmp -s "$program" "$extracted" || { echo "FAIL: the MSI's $(basename "$program") is not the signed one"; status=1; }
done
[ $status -eq 0 ] && echo "signed and verified: ${#programs[@]} programs and the MSI; unsigned without a certificate"
exit $status
