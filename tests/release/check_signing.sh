#!/bin/sh
# Signs the shipped tandrel.exe as a publisher would (tools/sign.sh, with a
# throwaway certificate made here) and checks that osslsigncode verifies the
# signature, and that without it the bytes are those as built: the
# reproducible hash. The header's CheckSum is the one field that signing
# changes besides the certificate table and its directory entry: the linker
# writes the true checksum, osslsigncode writes it anew for the signed file
# and again when it removes the signature, which gives back the linker's.
# $1: the source folder, $2: tandrel.exe, $3: a work folder.
set -u
work=$3
rm -rf "$work" && mkdir -p "$work" || exit 1
status=0
fail() {
    echo "FAILED: $*"
    status=1
}
checksum() { # the PE header's CheckSum field, in hexadecimal
    pe=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
    od -An -tx4 -j $((pe + 88)) -N 4 "$1" | tr -d ' '
}

sh "$1/tests/support/sign_for_tests.sh" "$1" "$work" "$2" "$work/signed.exe" ||
    { echo "FAILED: signing"; exit 1; }
osslsigncode verify -CAfile "$work/signer.pem" -in "$work/signed.exe" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; fail "osslsigncode does not verify the signed program"; }
osslsigncode remove-signature -in "$work/signed.exe" -out "$work/unsigned.exe" >/dev/null ||
    fail "the signature cannot be removed"
echo "release: SHA-256 $(sha256sum <"$work/unsigned.exe" | cut -d ' ' -f 1) signed, signature removed"
echo "release: PE checksum $(checksum "$2") as linked, $(checksum "$work/signed.exe") signed," \
    "$(checksum "$work/unsigned.exe") signature removed"
cmp -s "$2" "$work/unsigned.exe" || fail "without its signature the program is not the one built"
exit $status
