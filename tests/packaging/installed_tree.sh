#!/bin/sh
# Installs the build into a scratch DESTDIR under a prefix of its own and
# checks that exactly the expected files are there, the desktop entry's Path=
# naming the data directory under that prefix, and that the installed
# orvela-predict finds its network module.
#   installed_tree.sh BUILD_DIR SCRATCH_DIR APP_ID MODULE PROGRAM...
# MODULE: the network module's path under the prefix.
set -u
here=$(dirname "$0")
build=$1
scratch=$2
id=$3
module=$4
shift 4
prefix=/opt/orvela-test
root=$scratch$prefix

rm -rf "$scratch"
DESTDIR=$scratch cmake --install "$build" --prefix "$prefix" >"$scratch.log" 2>&1 || {
    cat "$scratch.log"
    echo "cmake --install failed"
    exit 1
}

status=0
fail() {
    echo "$*"
    status=1
}

expected=$(
    for p in "$@"; do
        echo "bin/$p"
        echo "share/man/man1/$p.1.gz"
    done
    echo "$module"
    echo share/orvela/ORVELA.CHM
    echo share/orvela/Info.txt
    echo share/orvela/html/index.html
    echo "share/applications/$id.desktop"
    echo "share/icons/hicolor/scalable/apps/$id.svg"
    for s in 48 128 256; do
        echo "share/icons/hicolor/${s}x$s/apps/$id.png"
    done
    echo "share/metainfo/$id.metainfo.xml"
    echo share/doc/orvela/copyright
    echo share/doc/orvela/changelog.gz
)
# The help's pages are the help's business: any file under html/ is welcome.
found=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | grep -v '^share/orvela/html/')
for f in $expected; do
    [ -f "$root/$f" ] || fail "missing: $f"
done
for f in $found; do
    printf '%s\n' "$expected" | grep -qxF "$f" || fail "not expected: $f"
done

for p in "$@"; do
    [ -x "$root/bin/$p" ] || fail "bin/$p is not executable"
    gzip -t "$root/share/man/man1/$p.1.gz" 2>/dev/null || fail "share/man/man1/$p.1.gz is not gzip"
done
for f in $expected; do
    case $f in bin/*) ;; *) [ -f "$root/$f" ] && [ -x "$root/$f" ] && fail "$f is executable" ;; esac
done
"$here/download_failure.sh" "$root/bin/orvela-predict" || fail "the installed orvela-predict's download"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for s in 48 128 256; do
    png=$root/share/icons/hicolor/${s}x$s/apps/$id.png
    [ -f "$png" ] || continue
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$size" = "${s}x$s" ] || fail "the ${s}x$s icon is $size"
done

entry=$root/share/applications/$id.desktop
if [ -f "$entry" ]; then
    grep -qx "Path=$prefix/share/orvela" "$entry" || fail "the desktop entry's Path= is not $prefix/share/orvela: $(grep '^Path=' "$entry")"
    grep -qx "Exec=orvela" "$entry" || fail "the desktop entry does not start orvela"
    grep -qx "Icon=$id" "$entry" || fail "the desktop entry's icon is not $id"
    desktop-file-validate "$entry" || fail "the installed desktop entry is not valid"
fi
exit $status
