#!/bin/sh
# Starts Tillora (installed as /usr/bin/tillora, a link to this file in the program folder).
#
# The program keeps its data file data.db and its Languages folder beside its executable. A
# program folder the user may write to (an install into a folder of one's own) is run in place.
# The installed package's folder is not: it belongs to the package manager, and its next
# upgrade would replace a data.db kept there. So each user runs a copy of the program folder in
# $XDG_DATA_HOME/KESTRUM/Tillora/ (~/.local/share/KESTRUM/Tillora/), made on the first start:
# - the executable and the shipped language files are copied again whenever the package's
#   differ from the copy's, so an upgrade (or a downgrade) reaches the copy at its next start;
# - data.db is copied only while the copy has none, so the shop's data is never overwritten;
# - everything else in that folder (the restart script start.sh the program writes there,
#   backups, language files of the user's own) is left alone.
# For root every folder is writable, yet a start as root must not write into the package's
# folder either: root always runs a copy of its own.
set -eu

here=$(dirname "$(readlink -f "$0")")
if [ "$(id -u)" -ne 0 ] && [ -w "$here" ]; then
    exec "$here/tillora" "$@"
fi

case "${XDG_DATA_HOME:-}" in
    /*) data=$XDG_DATA_HOME ;;
    *) data=$HOME/.local/share ;;
esac
copy=$data/KESTRUM/Tillora
umask 077
mkdir -p "$copy/Languages"

# Puts the file $1 at $2 unless $2 holds the same bytes already. The copy is made beside $2 and
# renamed over it, so a program starting from $2 (a second start, a restart) never finds half a
# file, and one already running keeps the file it started from.
update() {
    if cmp -s "$1" "$2"; then
        return 0
    fi
    tmp=$(mktemp "$2.XXXXXX")
    cp -p "$1" "$tmp"
    mv -f "$tmp" "$2"
}

update "$here/tillora" "$copy/tillora"
for file in "$here"/Languages/*; do
    if [ -f "$file" ]; then
        update "$file" "$copy/Languages/${file##*/}"
    fi
done
# The name data.db is taken by a hard link to a whole copy: of two first starts at the same
# moment, one links and the other finds the name taken and keeps the file that is there.
if [ ! -e "$copy/data.db" ]; then
    tmp=$(mktemp "$copy/data.db.XXXXXX")
    cp "$here/data.db" "$tmp"
    ln "$tmp" "$copy/data.db" 2>/dev/null || true
    rm -f "$tmp"
fi

exec "$copy/tillora" "$@"
