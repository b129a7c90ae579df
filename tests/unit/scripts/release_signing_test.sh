#!/usr/bin/env bash
# The release step (scripts/make-dist) on the win32 build: without a
# certificate it says that the files are unsigned; with a throw-away one made
# here every shipped program verifies, the programs inside setup.exe too, and
# the Quorvel.exe shipped beside setup.exe is the one it installs. A PKCS#12
# file with a password signs as well.
#   release_signing_test.sh <win32 build>
set -u
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=$(cd "${1:?win32 build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=1; }
unset QUORVEL_SIGN_PKCS12 QUORVEL_SIGN_CERT QUORVEL_SIGN_KEY QUORVEL_SIGN_PASSWORD QUORVEL_SIGN_TIMESTAMP
verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1; }

out=$("$root/scripts/make-dist" "$build" "$work/unsigned" 2>&1) || fail "make-dist without a certificate: $out"
grep -q UNSIGNED <<<"$out" || fail "make-dist without a certificate does not say so: $out"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quorvel test signing" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1 ||
  { echo "FAIL: openssl cannot make a certificate"; exit 1; }
for file in "$work"/unsigned/*; do
  verify "$file" && fail "$(basename "$file") verifies without a certificate"
done

out=$(QUORVEL_SIGN_CERT=$work/cert.pem QUORVEL_SIGN_KEY=$work/key.pem \
  "$root/scripts/make-dist" "$build" "$work/dist" 2>&1) || { echo "FAIL make-dist: $out"; exit 1; }
programs=()
for name in Quorvel.exe setup.exe quorvel-cli.exe; do programs+=("$work/dist/$name"); done
for name in QUORVEL.EXE REMOVE.EXE HH.EXE HHCTRL.OCX; do
  python3 "$root/tests/unit/scripts/pe_image.py" resource "$work/dist/setup.exe" RT_RCDATA "$name" "$work/$name" ||
    fail "setup.exe carries no $name"
  programs+=("$work/$name")
done
for file in "${programs[@]}"; do
  verify "$file" || { fail "$(basename "$file") does not verify:"; cat "$work/verify.log"; }
done
cmp -s "$work/dist/Quorvel.exe" "$work/QUORVEL.EXE" || fail "dist/Quorvel.exe is not the one setup.exe installs"

openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:prova -out "$work/cert.p12"
cp "$build/cli/quorvel-cli.exe" "$work/cli.exe"
QUORVEL_SIGN_PKCS12=$work/cert.p12 QUORVEL_SIGN_PASSWORD=prova "$root/scripts/sign-pe" "$work/cli.exe" >/dev/null &&
  verify "$work/cli.exe" || fail "a PKCS#12 file with a password does not sign"

[ $failed -eq 0 ] && echo "release signing: every shipped program verifies"
exit $failed
