#!/usr/bin/env bash
# Prints the apt sources file (deb822) that adds CODENAME-backports from the mirror this machine
# already takes CODENAME from: the first entry, in the order apt reads them, that lists CODENAME
# itself for deb packages gives the addresses, components and Signed-By. The machine's own files
# are only read. Plain bash and awk, as a bare Debian has no python.
#
#   backports-sources.sh CODENAME [APT_DIR]      APT_DIR: /etc/apt
#
# Prints nothing where an entry lists CODENAME-backports already (other than the file this output
# is meant for, APT_DIR/sources.list.d/CODENAME-backports.sources); fails, saying what to add,
# where no entry lists CODENAME.
set -euo pipefail
codename=${1:?usage: backports-sources.sh CODENAME [APT_DIR]}
dir=${2:-/etc/apt}
export LC_ALL=C # apt reads sources.list.d in byte order

files=()
[ ! -f "$dir/sources.list" ] || files+=("$dir/sources.list")
for f in "$dir"/sources.list.d/*; do
    case ${f##*/} in *.list | *.sources) [ ! -f "$f" ] || files+=("$f") ;; esac
done

# /dev/null first, so that awk never reads standard input when there is no file.
awk -v codename="$codename" -v dir="$dir" -v own="$dir/sources.list.d/$codename-backports.sources" '
function has(list, word,   w, n, i) {
    n = split(list, w)
    for (i = 1; i <= n; i++)
        if (w[i] == word)
            return 1
    return 0
}
function squeeze(s) {
    gsub(/[ \t]+/, " ", s)
    sub(/^ /, "", s)
    sub(/ $/, "", s)
    return s
}
function entry(file, types, uris, suites, components, signed) {
    if (!has(types, "deb"))
        return
    if (from == "" && has(suites, codename)) {
        from = file; out_uris = squeeze(uris); out_components = squeeze(components)
        out_signed = signed
    }
    if (listed == "" && file != own && has(suites, codename "-backports"))
        listed = file
}
function stanza_end() {
    if (stanza_file != "" && tolower(squeeze(field["enabled"])) != "no")
        entry(stanza_file, field["types"], field["uris"], field["suites"], field["components"],
              signed)
    stanza_file = ""; name = ""; signed = ""
    split("", field)
}
FNR == 1 { stanza_end() }

# deb822: stanzas apart by blank lines, a field continued on indented lines; Signed-By is kept
# line for line, as it may hold a whole key.
FILENAME ~ /\.sources$/ {
    if (/^#/)
        next
    if (/^[ \t]*$/) {
        stanza_end()
        next
    }
    if (/^[ \t]/) {
        if (name == "signed-by")
            signed = signed "\n" $0
        else if (name != "")
            field[name] = field[name] " " $0
        next
    }
    colon = index($0, ":")
    if (colon == 0)
        next
    name = tolower(substr($0, 1, colon - 1))
    field[name] = substr($0, colon + 1)
    if (name == "signed-by")
        signed = "Signed-By:" field[name]
    stanza_file = FILENAME
    next
}

# One line an entry: deb [options] uri suite component...
{
    line = $0
    sub(/#.*/, "", line)
    if (!match(line, /^[ \t]*deb[ \t]/))
        next
    line = substr(line, RLENGTH + 1)
    sub(/^[ \t]+/, "", line)
    options = ""
    if (substr(line, 1, 1) == "[") {
        close_at = index(line, "]")
        if (close_at == 0)
            next
        options = substr(line, 2, close_at - 2)
        line = substr(line, close_at + 1)
    }
    n = split(line, word)
    if (n < 2)
        next
    components = ""
    for (i = 3; i <= n; i++)
        components = components " " word[i]
    keys = ""
    n = split(options, option)
    for (i = 1; i <= n; i++)
        if (tolower(option[i]) ~ /^signed-by=/)
            keys = "Signed-By: " substr(option[i], 11)
    entry(FILENAME, "deb", word[1], word[2], components, keys)
}

END {
    stanza_end()
    if (listed != "") {
        print "setup: " listed " lists " codename "-backports already" > "/dev/stderr"
        exit 0
    }
    if (from == "") {
        print "setup: no entry in " dir "/sources.list or " dir "/sources.list.d/ lists the suite " \
              codename " for deb packages, so its mirror is unknown: list " codename "-backports " \
              "from your package mirror in " own > "/dev/stderr"
        exit 1
    }
    print "# " codename "-backports from the mirror of " codename " in " from ","
    print "# for qemu-user (written by Quendry\047s setup)"
    print "Types: deb"
    print "URIs: " out_uris
    print "Suites: " codename "-backports"
    print "Components: " out_components
    if (out_signed != "")
        print out_signed
}' /dev/null "${files[@]}"
