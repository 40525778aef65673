#!/usr/bin/env bash
# scripts/backports-sources.sh on sample apt trees: the file it would write, or that it writes none.
set -uo pipefail
script=$(dirname "$0")/../../../scripts/backports-sources.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

# new_tree NAME: the apt directory the following put and expect calls work in.
new_tree() {
    name=$1
    tree=$tmp/$1
    mkdir -p "$tree/sources.list.d"
}
put() { cat >"$tree/$1"; }
# expect STATUS: the standard output on stdin.
expect() {
    local want got status
    want=$(cat)
    got=$(timeout 10 "$script" bookworm "$tree" 2>"$tmp/stderr")
    status=$?
    if [ "$status" != "$1" ] || [ "$got" != "$want" ]; then
        echo "FAIL $name: exit $status (want $1)"
        diff <(echo "$want") <(echo "$got")
        cat "$tmp/stderr"
        failed=1
    else
        echo "ok   $name"
    fi
}

new_tree deb822-stanzas
put sources.list.d/debian.sources <<'EOF'
# Security comes first, and sources only: neither is the release's own entry.
Types: deb
URIs: http://mirror.example/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://sources.example/debian
Suites: bookworm
Components: main

Enabled: no
Types: deb
URIs: http://old.example/debian
Suites: bookworm
Components: main

types: deb deb-src
URIs: http://mirror.example/debian
 http://mirror2.example/debian
Suites: bookworm bookworm-updates
# a comment inside the stanza
Components: main contrib
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mDMEZc2nHBYJKwYBBAHaRw8BAQdAexample
 -----END PGP PUBLIC KEY BLOCK-----
EOF
# Written by an earlier run, from another mirror: rewritten, not taken as the machine's.
put sources.list.d/bookworm-backports.sources <<'EOF'
Types: deb
URIs: http://stale.example/debian
Suites: bookworm-backports
Components: main
EOF
expect 0 <<EOF
# bookworm-backports from the mirror of bookworm in $tree/sources.list.d/debian.sources,
# for qemu-user (written by Quendry's setup)
Types: deb
URIs: http://mirror.example/debian http://mirror2.example/debian
Suites: bookworm-backports
Components: main contrib
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mDMEZc2nHBYJKwYBBAHaRw8BAQdAexample
 -----END PGP PUBLIC KEY BLOCK-----
EOF

new_tree one-line
put sources.list <<'EOF'
# deb http://commented.example/debian bookworm main
deb-src http://sources.example/debian bookworm main
deb http://mirror.example/debian-security bookworm-security main
deb [ arch=amd64 signed-by=/etc/apt/keyrings/mirror.gpg ] http://mirror.example/debian bookworm main non-free-firmware # the mirror
EOF
put sources.list.d/other.list <<'EOF'
deb http://later.example/debian bookworm main
EOF
expect 0 <<EOF
# bookworm-backports from the mirror of bookworm in $tree/sources.list,
# for qemu-user (written by Quendry's setup)
Types: deb
URIs: http://mirror.example/debian
Suites: bookworm-backports
Components: main non-free-firmware
Signed-By: /etc/apt/keyrings/mirror.gpg
EOF

new_tree security-only
put sources.list.d/debian.sources <<'EOF'
Types: deb
URIs: http://mirror.example/debian-security
Suites: bookworm-security
Components: main
EOF
expect 1 </dev/null

new_tree other-releases
put sources.list <<'EOF'
deb http://mirror.example/debian trixie main
deb http://mirror.example/debian bookworm-updates main
EOF
expect 1 </dev/null

new_tree backports-listed
put sources.list.d/debian.sources <<'EOF'
Types: deb
URIs: http://mirror.example/debian
Suites: bookworm
Components: main
EOF
put sources.list.d/bookworm-backports.list <<'EOF'
deb http://mirror.example/debian bookworm-backports main
EOF
expect 0 </dev/null

exit $failed
