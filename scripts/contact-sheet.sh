# Shared by the scripts that set several pictures in one captioned sheet;
# sourced, not run. The calling script sets `name` (for its messages) and
# `program` (the Orvela program it runs) before sourcing this file.
#
# Needs ImageMagick's montage (Debian package imagemagick) with the DejaVu
# font (fonts-dejavu-core).

font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

if [ ! -x "$program" ]; then
    echo "$name: $program not found; run make build first" >&2
    exit 1
fi
if ! command -v montage >/dev/null 2>&1; then
    echo "$name: montage not found; apt-get install imagemagick" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# make_sheet TILE SHEET [-label CAPTION PICTURE]...: the pictures in a grid
# of TILE (columns x rows), each with its caption under it, saved as SHEET.
make_sheet() {
    tile=$1
    out=$2
    shift 2
    montage -font "$font" -pointsize 15 -background white -tile "$tile" -geometry +8+6 "$@" "$out"
    echo "$out"
}
