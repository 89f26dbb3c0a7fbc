#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and validates what the desktop reads there.
set -euo pipefail
build=$1 id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

test -x "$prefix/bin/jotlark"
desktop-file-validate "$share/applications/$id.desktop"
# Docks match the windows by their class, the application name the program sets.
grep -qx "StartupWMClass=$("$prefix/bin/jotlark" --version | cut -d' ' -f1)" \
    "$share/applications/$id.desktop"
# Fails on a warning too; informational notes and pedantic hints are only shown.
appstreamcli validate --pedantic --no-net "$share/metainfo/$id.metainfo.xml"
# Warnings as failures: groff says nothing about a sound page.
warnings=$(groff -man -ww -z "$share/man/man1/jotlark.1" 2>&1)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
test -f "$share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 22 24 32 48; do
    file "$share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size"
done
echo "installed files valid"
