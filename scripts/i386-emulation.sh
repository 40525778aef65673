#!/usr/bin/env bash
# Lets Wine start 32-bit programs where the kernel runs no 32-bit code (its 32-bit emulation is
# switched off, or not built in). Wine starts a 32-bit program through its 32-bit loader, an i386
# Linux program; registered with binfmt_misc, qemu's i386 user-mode emulator runs that loader and
# so every 32-bit process Wine starts (the wizard, its registration host, the test programs).
# Where the kernel runs 32-bit code, nothing is done. Called by setup.sh, as root or with sudo.
#
#   i386-emulation.sh        set up where needed (QUENDRY_EMULATE_I686=1: also where the kernel
#                            runs 32-bit code, to try the emulated runs on such a machine)
#   i386-emulation.sh off    remove the emulator's registration again
set -euo pipefail
entry=/proc/sys/fs/binfmt_misc/quendry-i386
loader=/usr/lib/wine/wine
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

if [ "${1:-}" = off ]; then
    [ ! -e "$entry" ] || echo -1 | $sudo tee "$entry" >/dev/null
    exit 0
fi
[ ! -e "$entry" ] || exit 0 # set up already, since this machine started
if [ -z "${QUENDRY_EMULATE_I686:-}" ] && "$loader" --version >/dev/null 2>&1; then
    exit 0
fi

# qemu 7.2 (Debian 12's own) takes about 90 s to start each 32-bit Wine process, most of it in
# Wine reserving the address space, which that version tracks page by page; qemu 10.0 (Debian 13's
# own, and bookworm-backports) takes two seconds.
qemu_major() { "$1" --version 2>/dev/null | sed -n '1s/.* version \([0-9]*\).*/\1/p'; }
emulator=/usr/bin/qemu-i386
if [ "$(qemu_major "$emulator")" -lt 9 ] 2>/dev/null || [ ! -x "$emulator" ]; then
    candidate=$(apt-cache policy qemu-user 2>/dev/null | sed -n 's/^ *Candidate: \([0-9]*:\)\{0,1\}\([0-9]*\).*/\2/p')
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    release=()
    if [ "${candidate:-0}" -lt 9 ] && [ "$codename" = bookworm ]; then
        # Backports from the mirror the machine takes its release from, in a file of its own.
        suite=$codename-backports
        file=/etc/apt/sources.list.d/$suite.sources
        stanza=$("$(dirname "$0")/backports-sources.sh" "$codename")
        [ -z "$stanza" ] || printf '%s\n' "$stanza" | $sudo tee "$file" >/dev/null
        # apt's own test for -t: a release of that name or suite among the fetched ones (grep reads
        # to the end, so that apt-cache never writes to a closed pipe).
        if ! $sudo apt-get update -qq ||
            ! apt-cache policy | grep -E "[ ,][an]=$suite(,|\$)" >/dev/null; then
            [ -z "$stanza" ] || $sudo rm -f "$file" # leaves the machine's apt as it was
            mirror=$(sed -n 's/^URIs: //p' <<<"$stanza")
            echo "setup: apt found no $suite suite${mirror:+ at $mirror, the mirror of $codename here}:" \
                "add $suite (qemu-user 10 comes from it) to the package mirror, then run setup again" >&2
            exit 1
        fi
        release=(-t "$suite")
    fi
    echo "setup: installing qemu-user ${release[*]}"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${release[@]}" qemu-user >/dev/null
fi
[ -x "$emulator" ] || { echo "setup: no $emulator: 32-bit Windows programs can't run here" >&2; exit 1; }

[ -e /proc/sys/fs/binfmt_misc/register ] ||
    $sudo mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
# 32-bit x86 ELF programs and libraries (the loader is one). F: the emulator is opened now, so
# that it is found from every mount namespace.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
printf '%s' ":quendry-i386:M::$magic:$mask:$emulator:F" |
    $sudo tee /proc/sys/fs/binfmt_misc/register >/dev/null
if ! "$loader" --version >/dev/null 2>&1; then
    echo "setup: Wine's 32-bit loader does not start even in $emulator" >&2
    exit 1
fi
echo "setup: 32-bit programs run in $("$emulator" --version | head -n 1)"
