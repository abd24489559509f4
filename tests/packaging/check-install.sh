#!/usr/bin/env bash
# Installs the build into a temporary prefix, stripped, as the README says, and checks what landed there:
# the menu entry and the AppStream metadata pass their validators, every icon size is there, the manual
# page reads without warnings and the program carries no symbol table.
#   check-install.sh CMAKE BUILD_FOLDER
set -euo pipefail
cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --prefix "$prefix" --strip >/dev/null
desktop-file-validate "$prefix"/share/applications/*.desktop
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml
for size in 16 32 48 64 128 256; do
    test -s "$prefix/share/icons/hicolor/${size}x${size}/apps/kivclock.png" || { echo "no ${size} px icon" >&2; exit 1; }
done
# The sound module where the installed program looks for it: the library folder beside its own.
compgen -G "$prefix/lib*/kivclock/kivclock_sound.so" >/dev/null || { echo "no sound module" >&2; exit 1; }
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/kivclock.svg"
test -z "$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$prefix/share/man/man1/kivclock.1" 2>&1)"
if readelf -S "$prefix/bin/kivclock" | grep -q '\.symtab'; then
    echo "the installed program is not stripped" >&2
    exit 1
fi
echo "install: all files present and valid"
