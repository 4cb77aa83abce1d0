#!/bin/sh
# Composes the day/night map at 00, 06, 12 and 18 UTC on the June and the
# December solstice of 2026 and sets the eight maps in one sheet, two rows of
# four with a caption under each: docs/solstice-maps.png by default.
#
#   scripts/solstice-maps.sh [SHEET.png]
#
# Needs orvela-map built (make build; ORVELA_MAP=path picks another build)
# and ImageMagick's montage (Debian package imagemagick) with the DejaVu font
# (fonts-dejavu-core); scripts/contact-sheet.sh does the checks and the sheet.
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
map=${ORVELA_MAP:-$top/build/cli/orvela-map}
sheet=${1:-$top/docs/solstice-maps.png}
name=solstice-maps
program=$map
. "$top/scripts/contact-sheet.sh"

set --
for date in "2026-06-21:21 June" "2026-12-21:21 December"; do
    day=${date%%:*}
    name=${date#*:}
    for hour in 00 06 12 18; do
        png="$work/$day-$hour.png"
        "$program" --utc "${day}T$hour:00:00Z" --width 512 --out "$png"
        set -- "$@" -label "$name 2026, $hour:00 UTC" "$png"
    done
done

make_sheet 4x2 "$sheet" "$@"
