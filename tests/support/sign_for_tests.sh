#!/bin/sh
# Signs programs for tests as a publisher would, through tools/sign.sh, with a
# throwaway self-signed certificate for "Tandrel Test Publisher" made here.
#   sign_for_tests.sh SOURCE-FOLDER WORK-FOLDER PROGRAM SIGNED [PROGRAM SIGNED]...
set -eu
source_folder=$1 work=$2
shift 2
mkdir -p "$work"
if [ ! -f "$work/signer.p12" ]; then
    openssl rand -hex 16 >"$work/password"
    openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/O=Tandrel/CN=Tandrel Test Publisher" \
        -addext extendedKeyUsage=codeSigning -keyout "$work/signer.key" -out "$work/signer.pem" \
        2>/dev/null
    openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" \
        -passout "file:$work/password" -out "$work/signer.p12"
fi
while [ $# -ge 2 ]; do
    "$source_folder/tools/sign.sh" --pkcs12 "$work/signer.p12" --password-file "$work/password" \
        "$1" "$2" >/dev/null
    shift 2
done
