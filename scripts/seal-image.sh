#!/usr/bin/env bash
# Seals a linked program: writes the SHA-256 digest of the file, taken with the digest's 32 bytes
# zero, behind the seal's marker (repair/image_seal.cpp). The running program compares the file it
# starts again as its registration host with this digest, so the file must not change after this.
set -euo pipefail
file=$1
marker='Quendry image seal, version 1: #'
offsets=$(LC_ALL=C grep -obUaF -- "$marker" "$file" | cut -d: -f1)
if [ "$(wc -w <<<"$offsets")" != 1 ]; then
    echo "seal-image: $file holds the seal's marker $(wc -w <<<"$offsets") times, not once" >&2
    exit 1
fi
at=$((offsets + ${#marker}))
dd if=/dev/zero of="$file" bs=1 seek="$at" count=32 conv=notrunc status=none
digest=$(sha256sum "$file" | cut -c1-64)
printf "$(sed 's/../\\x&/g' <<<"$digest")" |
    dd of="$file" bs=1 seek="$at" count=32 conv=notrunc status=none
