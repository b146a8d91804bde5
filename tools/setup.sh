#!/bin/sh
# Installs what building and testing Tandrel needs on a Debian machine.
# Safe to run again: it does nothing when everything is already there.
#   tools/setup.sh [--demo-fonts]   also a Japanese font, for tools/demo.sh --lang
set -eu

# clang and libclang-rt-dev are Debian's default clang and its matching
# runtime (sanitizers, libFuzzer), whatever the release. wine64 and the x86_64
# cross compiler serve machines that cannot run 32-bit programs (wine32).
# osslsigncode and openssl sign programs (tools/sign.sh) and the tests'
# copies of them.
packages="cmake g++ clang libclang-rt-dev clang-format googletest
g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
wine wine32:i386 wine64 xvfb xauth osslsigncode openssl"
if [ "${1:-}" = --demo-fonts ]; then
    packages="$packages fonts-ipafont-gothic"
fi

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
else
    sudo=""
fi

echo "setup: installing$missing"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
