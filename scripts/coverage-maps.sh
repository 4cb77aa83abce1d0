#!/bin/sh
# Maps where 14 MHz reaches from Paris (48.85N 2.35E) at 00, 06, 12 and
# 18 UTC on the June solstice of 2026 and sets the four maps in one sheet,
# two rows of two with a caption under each: docs/coverage-14mhz.png by
# default.
#
#   scripts/coverage-maps.sh [SHEET.png]
#
# Needs orvela-area built (make build; ORVELA_AREA=path picks another build)
# and ImageMagick's montage (Debian package imagemagick) with the DejaVu font
# (fonts-dejavu-core); scripts/contact-sheet.sh does the checks and the sheet.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
area=${ORVELA_AREA:-$top/build/cli/orvela-area}
sheet=${1:-$top/docs/coverage-14mhz.png}
name=coverage-maps
program=$area
. "$top/scripts/contact-sheet.sh"

set --
for hour in 00 06 12 18; do
    png="$work/14mhz-$hour.png"
    "$program" --home 48.85N,2.35E --utc "2026-06-21T$hour:00Z" --band 14 --width 800 --out "$png"
    set -- "$@" -label "14 MHz from Paris, 21 June 2026, $hour:00 UTC" "$png"
done

make_sheet 2x2 "$sheet" "$@"
