#!/usr/bin/env bash
# Signs tandrel.exe, or any Windows program, with an Authenticode signature
# through Debian's osslsigncode: from a PKCS#12 file or from a key on a
# hardware token (PKCS#11), optionally time-stamped, in place or into a new
# file. Then checks that the signature is all that changed. Without
# arguments it prints its usage.
set -eu

usage() {
    cat <<'EOF'
usage: tools/sign.sh KEY [--password-file FILE] [--timestamp URL] [--name TEXT]
                     [--url URL] PROGRAM [SIGNED]

Signs PROGRAM (tandrel.exe, or your installer) with an Authenticode signature
(SHA-256). The signed program replaces PROGRAM, or goes to SIGNED when given.
A signature already there is replaced.

KEY, where the signing key is; one of:
  --pkcs12 FILE           a PKCS#12 file (.p12, .pfx) with the key and its
                          certificate chain; its password is asked for
  --pkcs11-module MODULE  a key on a hardware token or HSM, through its PKCS#11
                          module (opensc-pkcs11.so for smart cards, libykcs11.so
                          for a YubiKey, or your HSM's or cloud signer's), with
    --key URI             the key's PKCS#11 URI ("pkcs11:token=...;object=...")
    --cert URI            the certificate on the token, as a PKCS#11 URI,
      or --certs FILE     or the certificate chain in a file (PEM or DER)
    --pkcs11-engine FILE  OpenSSL's PKCS#11 engine where it is not found
                          (Debian: libengine-pkcs11-openssl's pkcs11.so)

  --password-file FILE    the PKCS#12 password or the token's PIN, read from
                          FILE (else asked for by osslsigncode or the token)
  --timestamp URL         an RFC 3161 time-stamp server (your certificate's
                          issuer names one): the signature then stays valid
                          after the certificate expires, which without it
                          it does not
  --name TEXT, --url URL  the description and the link that Windows shows in
                          its prompts

It ends by printing the SHA-256 of the program without its signature, which is
that of the program as built: for tandrel.exe, that of a build of the same
sources.
EOF
}

fail() {
    echo "sign: $*" >&2
    exit 1
}

[ $# -gt 0 ] || {
    usage
    exit 2
}
command -v osslsigncode >/dev/null || fail "needs osslsigncode (apt-get install osslsigncode)"

sign=() # osslsigncode's options
pkcs12="" module="" key="" certificate="" password=""
files=()
while [ $# -gt 0 ]; do
    option=$1
    shift
    case $option in
    --help | -h)
        usage
        exit 0
        ;;
    -*)
        [ $# -gt 0 ] || fail "$option needs a value (tools/sign.sh --help)"
        value=$1
        shift
        ;;
    *)
        files+=("$option")
        continue
        ;;
    esac
    case $option in
    --pkcs12) pkcs12=$value ;;
    --pkcs11-module) module=$value ;;
    --key) key=$value ;;
    --cert) certificate=1 sign+=(-pkcs11cert "$value") ;;
    --certs) certificate=1 sign+=(-certs "$value") ;;
    --pkcs11-engine) sign+=(-pkcs11engine "$value") ;;
    --password-file) password=$value ;;
    --timestamp) sign+=(-ts "$value") ;;
    --name) sign+=(-n "$value") ;;
    --url) sign+=(-i "$value") ;;
    *) fail "unknown option $option (tools/sign.sh --help)" ;;
    esac
done
if [ ${#files[@]} -lt 1 ] || [ ${#files[@]} -gt 2 ]; then
    fail "name the program, and the signed file if it is another"
fi
program=${files[0]}
signed=${files[1]:-$program}
[ -f "$program" ] || fail "$program: not found"

if [ -n "$password" ]; then
    sign+=(-readpass "$password")
fi
if [ -n "$pkcs12" ]; then
    [ -z "$module" ] || fail "--pkcs12 or --pkcs11-module, not both"
    sign+=(-pkcs12 "$pkcs12")
    [ -n "$password" ] || sign+=(-askpass)
elif [ -n "$module" ]; then
    [ -n "$key" ] || fail "--pkcs11-module needs --key, the key's PKCS#11 URI"
    [ -n "$certificate" ] || fail "--pkcs11-module needs --cert (a PKCS#11 URI) or --certs (a file)"
    sign+=(-pkcs11module "$module" -key "$key")
else
    fail "name the key: --pkcs12 FILE or --pkcs11-module MODULE (tools/sign.sh --help)"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The bytes as built: the program itself, or without the signature it has.
unsigned="$program"
if osslsigncode remove-signature -in "$program" -out "$work/unsigned" >/dev/null 2>&1; then
    unsigned="$work/unsigned"
fi
osslsigncode sign "${sign[@]}" -h sha256 -in "$unsigned" -out "$work/signed" ||
    fail "osslsigncode could not sign $program"

# Signing adds the signature and the checksum that covers it, and nothing
# else: without the signature, the bytes are those as built. (A file whose
# size is not a multiple of 8 bytes, unlike tandrel.exe, also keeps the
# padding that aligns the signature.)
osslsigncode remove-signature -in "$work/signed" -out "$work/check" >/dev/null ||
    fail "the signed program's signature cannot be removed again"
built=$(sha256sum <"$unsigned" | cut -d ' ' -f 1)
same=""
[ "$(sha256sum <"$work/check" | cut -d ' ' -f 1)" = "$built" ] && same=1
if [ -z "$same" ] && [ $(($(wc -c <"$unsigned") % 8)) -eq 0 ]; then
    fail "signing changed more than the signature; $program is left as it was"
fi
if ! cp "$work/signed" "$signed.signing" || ! mv -f "$signed.signing" "$signed"; then
    fail "cannot write $signed"
fi
echo "sign: signed $signed"
if [ -n "$same" ]; then
    echo "sign: SHA-256 without the signature: $built"
fi
