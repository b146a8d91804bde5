#!/bin/sh
# Signs programs as a publisher would (tools/sign.sh), with a throwaway
# certificate of "Tandrel Test Publisher" made in WORK, and checks each:
# osslsigncode verifies it, and without the signature it is the file signed,
# byte for byte. Signing changes the header's CheckSum too: the linker writes
# the true one, osslsigncode writes it anew when it signs and when it removes
# the signature.
#   sign_for_tests.sh SOURCE-FOLDER WORK PROGRAM SIGNED [PROGRAM SIGNED]...
set -eu
source_folder=$1 work=$2
shift 2
mkdir -p "$work"
[ -f "$work/signer.p12" ] || {
    openssl rand -hex 16 >"$work/password"
    openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=Tandrel Test Publisher" \
        -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/signer.pem" 2>/dev/null
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/signer.pem" -out "$work/signer.p12" \
        -passout "file:$work/password"
}
checksum() { od -An -tx4 -j $(($(od -An -tu4 -j 60 -N 4 "$1") + 88)) -N 4 "$1" | tr -d ' '; }
while [ $# -ge 2 ]; do
    "$source_folder/tools/sign.sh" --pkcs12 "$work/signer.p12" --password-file "$work/password" \
        "$1" "$2" >/dev/null
    osslsigncode verify -CAfile "$work/signer.pem" -in "$2" >/dev/null ||
        { echo "FAILED: osslsigncode does not verify $2" && exit 1; }
    osslsigncode remove-signature -in "$2" -out "$work/unsigned" >/dev/null
    cmp "$1" "$work/unsigned" || { echo "FAILED: $2 without its signature is not $1" && exit 1; }
    echo "release: PE checksum $(checksum "$1") as linked, $(checksum "$2") signed," \
        "$(checksum "$work/unsigned") signature removed"
    rm "$work/unsigned"
    shift 2
done
