#!/bin/sh
# Unpacks the Debian package into a scratch root with dpkg -x, checks its
# control fields and runs its orvela-predict from there: the table must be
# the build tree's, byte for byte, and a download must reach the network.
#   deb_package.sh DEB SCRATCH_DIR BUILD_TREE_ORVELA_PREDICT MODULE
# MODULE: the network module's path under /usr.
set -u
here=$(dirname "$0")
deb=$1
scratch=$2
built_predict=$3
module=$4

status=0
fail() {
    echo "$*"
    status=1
}

[ -f "$deb" ] || { echo "no package $deb"; exit 1; }
rm -rf "$scratch"
mkdir -p "$scratch"
dpkg -x "$deb" "$scratch" || { echo "dpkg -x failed"; exit 1; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = orvela ] || fail "Package: $(field Package)"
[ "$(field Section)" = hamradio ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Homepage)" ] || fail "no Homepage"
# The dependencies come from the libraries linked, as dpkg-shlibdeps finds them.
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6widgets6 libcurl4 libpng16-16; do
    printf '%s\n' "$depends" | grep -q "\\b$lib\\b" || fail "Depends lacks $lib: $depends"
done
# The country file that call signs are looked up in, which Orvela does not ship.
printf '%s\n' "$depends" | grep -q '\bhamradio-files\b' || fail "Depends lacks hamradio-files: $depends"
# A viewer for the compiled help, which Debian ships.
printf '%s\n' "$(field Recommends)" | grep -q '\bxchm\b' || fail "Recommends lacks xchm: $(field Recommends)"
# The newest changelog entry is this version.
version=$(field Version)
head=$(gzip -dc "$scratch/usr/share/doc/orvela/changelog.gz" | head -n 1)
case $head in "orvela ($version) "*) ;; *) fail "the changelog's newest entry is not $version: $head" ;; esac

grep -qx "Path=/usr/share/orvela" "$scratch/usr/share/applications/"*.desktop ||
    fail "the desktop entry's Path= is not /usr/share/orvela"
for f in ORVELA.CHM Info.txt html/index.html; do
    [ -f "$scratch/usr/share/orvela/$f" ] || fail "usr/share/orvela/$f is missing"
done

# The network module: a private library beside the programs, not executable.
[ -f "$scratch/usr/$module" ] || fail "usr/$module is missing"
[ -x "$scratch/usr/$module" ] && fail "usr/$module is executable"
"$here/download_failure.sh" "$scratch/usr/bin/orvela-predict" || fail "the package's orvela-predict's download"

args="--home 48.85N,2.35E --remote 40.71N,74.01W --date 2026-12-10"
# shellcheck disable=SC2086
out=$("$scratch/usr/bin/orvela-predict" $args)
rc=$?
[ $rc -eq 0 ] || fail "the package's orvela-predict exited with $rc"
# shellcheck disable=SC2086
want=$("$built_predict" $args)
[ "$out" = "$want" ] || fail "the package's orvela-predict writes another table than the build tree's"
printf '%s\n' "$out" | grep -q '^2 Mhz  ' || fail "no 2 MHz row in: $out"
printf '%s\n' "$out" | grep -q '^MUF  ' || fail "no MUF row in: $out"
exit $status
