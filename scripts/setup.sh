#!/usr/bin/env bash
# Installs what building and testing Quendry needs, and only what is missing: safe to run again.
set -euo pipefail

packages=(cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev
    g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
    wine wine64 wine32:i386 fonts-wine fonts-liberation xvfb xauth xdotool imagemagick locales
    x11-utils python3-jsonschema)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    need_update=1
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ -n "${need_update:-}" ]; then
    $sudo apt-get update -qq
fi

# Wine takes the user's language from LANG only when that locale exists on the Linux side.
want_locales=(de_DE.UTF-8 de_AT.UTF-8 fr_FR.UTF-8 en_US.UTF-8)
have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
gen=0
for l in "${want_locales[@]}"; do
    norm=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
    if ! grep -qx "$norm" <<<"$have"; then
        $sudo sed -i "s/^# *\($l\)/\1/" /etc/locale.gen
        grep -q "^$l" /etc/locale.gen || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
        gen=1
    fi
done
[ $gen -eq 0 ] || $sudo locale-gen >/dev/null

# The product is a 32-bit program: where the kernel runs no 32-bit code, an emulator runs it.
"$(dirname "$0")/i386-emulation.sh"
