#!/usr/bin/env bash
# Prints the Windows build that this machine can run under Wine: i686 (the product) where the kernel
# runs 32-bit code, else x86_64 (its 64-bit twin, built from the same sources).
if [ -n "${QUENDRY_TEST_ARCH:-}" ]; then echo "$QUENDRY_TEST_ARCH"; exit 0; fi
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo i686
else
    echo x86_64
fi
