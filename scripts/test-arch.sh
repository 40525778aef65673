#!/usr/bin/env bash
# Prints the Windows build that this machine can run under Wine: i686, the product, where 32-bit
# programs run (natively, or in the emulator that scripts/i386-emulation.sh registers), else
# x86_64, its 64-bit twin built from the same sources. QUENDRY_TEST_ARCH overrides the choice.
# With --how: how 32-bit programs run here ("natively", "in qemu-i386 ...", or "not at all").
loader=/usr/lib/wine/wine
runs=0
[ -x "$loader" ] && "$loader" --version >/dev/null 2>&1 && runs=1
if [ "${1:-}" = --how ]; then
    if [ $runs = 0 ]; then
        echo "not at all"
    elif grep -qsx enabled /proc/sys/fs/binfmt_misc/quendry-i386; then
        emulator=$(sed -n 's/^interpreter //p' /proc/sys/fs/binfmt_misc/quendry-i386)
        echo "in $("$emulator" --version 2>/dev/null | head -n 1 | sed 's/ (.*//')"
    else
        echo "natively"
    fi
    exit 0
fi
if [ -n "${QUENDRY_TEST_ARCH:-}" ]; then echo "$QUENDRY_TEST_ARCH"; exit 0; fi
[ $runs = 1 ] && echo i686 || echo x86_64
