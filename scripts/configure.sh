#!/bin/sh
# Configures a build tree with Ninja, which make deps installs: configure.sh
# <tree> [cmake options]. A tree configured earlier with another generator
# (by hand, or by a run on a machine that had no ninja yet) loses its cache
# first, since CMake refuses to change a tree's generator; the compiled
# files are rebuilt as needed.
set -eu
tree=$1
shift
cache="$tree/CMakeCache.txt"
if [ -f "$cache" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$cache"; then
    echo "configure.sh: $tree was configured with another generator; configuring it anew with Ninja"
    rm -rf "$cache" "$tree/CMakeFiles"
fi
exec cmake -S . -B "$tree" -G Ninja "$@"
