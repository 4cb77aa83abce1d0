#!/bin/bash
# Makes every picture of docs/ again from the real programs; the help shows
# two of them (help/CMakeLists.txt copies them beside its pages):
#
#   screenshot.png      the main window, F6XYZ in Paris to New York, the
#                       path line shown, the day's flux from the bulletin
#   amateur-bands.png   the same path's table with the amateur-band rows
#   coverage.png        the coverage window: 14 MHz from Paris at 14h UTC
#   planner.png         the planner: every DXCC entity on all bands from
#                       Paris, by Ctrl+P
#   setup-dialog.png    the setup dialog after typing the locator jn18du
#   prediction-date.png the main window on 20 August 2027, a year ahead,
#                       with the flux of NOAA's predicted solar cycle
#   coverage-14mhz.png  orvela-area: 14 MHz from Paris at 00, 06, 12 and
#                       18 UTC on the June solstice of 2026, in one sheet
#   solstice-maps.png   orvela-map: the day/night map at 00, 06, 12 and
#                       18 UTC on both solstices of 2026, in one sheet
#
#   scripts/pictures.sh [FOLDER]      (docs/ by default)
#
# The window is driven as a user would, under a virtual X server (Xvfb),
# with xdotool's clicks and keys, and taken with ImageMagick's import. It
# starts from a settings file this script writes in a scratch folder (so no
# first-run dialog, and the user's own settings are never touched), with its
# clock stopped at 20 August 2026, 14:00 UTC (faketime; its timers run on
# the monotonic clock, which goes on), and takes the solar flux of a real
# bulletin of that morning (tests/solar/fixtures/2026-08-20.txt, flux 126)
# from an HTTP server on the loopback, which also serves NOAA's other flux
# products (the tests' copies in tests/solar/fixtures/products) for the
# other dates. The window's bulletin and service addresses are fixed at
# build time (the CMake options ORVELA_FLUX_URL and ORVELA_SERVICE_URL), so
# the programs come from a build tree of their own, build-pictures/ (or
# $ORVELA_PICTURES_BUILD), configured with that server's address; the users'
# build keeps NOAA's. The same moment and bulletin give the same pictures
# every time: run it after any change to a window and commit what changed.
#
# Needs, besides the build's own packages: xvfb, xdotool, imagemagick,
# faketime and fonts-dejavu-core (Debian packages).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$top/docs}" && cd "${1:-$top/docs}" && pwd)
tree=${ORVELA_PICTURES_BUILD:-$top/build-pictures}
moment='2026-08-20 14:00:00'
bulletin=$top/tests/solar/fixtures/2026-08-20.txt
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

say() { echo "pictures: $*" >&2; }
fail() {
    say "$*"
    exit 1
}

# The tools, each with the package that brings it.
missing=()
for tool in Xvfb:xvfb xdotool:xdotool xwininfo:x11-utils import:imagemagick compare:imagemagick montage:imagemagick \
    faketime:faketime python3:python3 cmake:cmake ninja:ninja-build; do
    command -v "${tool%%:*}" >/dev/null 2>&1 || missing+=("${tool#*:}")
done
[ -f "$font" ] || missing+=(fonts-dejavu-core)
if [ ${#missing[@]} -gt 0 ]; then
    fail "missing tools; apt-get install $(printf '%s\n' "${missing[@]}" | sort -u | tr '\n' ' ')"
fi

work=$(mktemp -d)
server_pid=
xvfb_pid=
window_pid=
app_pid=
cleanup() {
    for pid in $app_pid $window_pid $server_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# wait_for FILE WHAT: until FILE has something in it (a process writes it
# once it is ready), 30 seconds at most.
wait_for() {
    for _ in $(seq 300); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    fail "$2 did not start"
}

# --- The bulletin on the loopback -------------------------------------------
# The port the tree was configured with is taken again when it is free, so
# that a second run rebuilds nothing; otherwise any free port, and the tree
# is configured anew with it.
mkdir -p "$work/www/text" "$work/www/json/solar-cycle"
cp "$bulletin" "$work/www/text/wwv.txt"
products=$top/tests/solar/fixtures/products
cp "$products/27-day-outlook.txt" "$products/daily-solar-indices.txt" "$work/www/text/"
cp "$products/predicted-solar-cycle.json" "$products/observed-solar-cycle-indices.json" "$work/www/json/solar-cycle/"
cat >"$work/serve.py" <<'EOF'
import http.server, os, sys

root, wanted, port_file = sys.argv[1], int(sys.argv[2]), sys.argv[3]


class Handler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=root, **kwargs)

    def log_message(self, *args):
        pass


try:
    server = http.server.ThreadingHTTPServer(("127.0.0.1", wanted), Handler)
except OSError:
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
with open(port_file + ".new", "w") as f:
    f.write(str(server.server_address[1]))
os.rename(port_file + ".new", port_file)
server.serve_forever()
EOF
old_port=$(sed -n 's|^ORVELA_FLUX_URL:[A-Z]*=http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$tree/CMakeCache.txt" 2>/dev/null || true)
python3 "$work/serve.py" "$work/www" "${old_port:-0}" "$work/port" &
server_pid=$!
wait_for "$work/port" "the bulletin's server"
port=$(cat "$work/port")

# --- The programs ------------------------------------------------------------
if command -v ccache >/dev/null 2>&1; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
say "building the window and the map programs in $tree (bulletin at http://127.0.0.1:$port)"
(cd "$top" && ./scripts/configure.sh "$tree" -DCMAKE_BUILD_TYPE=Release -DORVELA_BENCH=OFF \
    -DORVELA_FLUX_URL="http://127.0.0.1:$port/text/wwv.txt" -DORVELA_SERVICE_URL="http://127.0.0.1:$port" \
    >"$work/configure.log") ||
    { cat "$work/configure.log" >&2; fail "could not configure $tree"; }
cmake --build "$tree" -j "$(nproc)" --target orvela orvela-map orvela-area >"$work/build.log" ||
    { tail -40 "$work/build.log" >&2; fail "could not build in $tree"; }

# --- The display and the user's world ----------------------------------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_for "$work/display" "Xvfb"
DISPLAY=":$(cat "$work/display")"
export DISPLAY
export QT_QPA_PLATFORM=xcb TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME/Talvik Software" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
# The pointer rests outside every window until a step moves it.
xdotool mousemove 0 0

# write_settings BANDSET: the station F6XYZ in Paris (2.35 E, 48.85 N,
# longitudes positive west), 20 dBW, 10 degrees, a dipole, the signal
# format, the short path; the remote point where a new station has it, at
# 0 degrees, 0 degrees (a click then picks New York: the remote marker would
# take a click on its own place); the path line shown; BANDSET 0 the fixed
# frequencies, 1 the amateur bands.
write_settings() {
    python3 - "$1" "$XDG_CONFIG_HOME/Talvik Software/ORVELA.reg" <<'EOF'
import math, sys

def extended(v):
    """The 10 bytes of an x87 extended-precision number, as the settings
    file keeps a position."""
    if v == 0:
        return bytes(10)
    m, e = math.frexp(abs(v))
    significand = int(m * 2**64)
    top = (e - 1 + 16383) | (0x8000 if v < 0 else 0)
    return significand.to_bytes(8, "little") + top.to_bytes(2, "little")

def hex_value(v):
    return "hex:" + ",".join(f"{b:02x}" for b in extended(v))

band_set, path = sys.argv[1], sys.argv[2]
with open(path, "w", encoding="utf-8", newline="\r\n") as f:
    f.write(f"""Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Station]
"CallSign"="F6XYZ"
"Longitude"={hex_value(-2.35)}
"Latitude"={hex_value(48.85)}
"Power"="20"
"MinAngle"="10"
"Display"="1"
"GainTable"="1"
"Path"="0"

[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers]
"DistLon"="0"
"DistLat"="0"
"BandSet"="{band_set}"
"ShowPath"="1"
""")
EOF
}

# start_window BANDSET: the window from fresh settings, at the fixed
# moment; sets $window (its X window) and $window_pid.
start_window() {
    write_settings "$1"
    (cd "$work" && exec faketime -m -f --exclude-monotonic "$moment" "$tree/app/orvela") >"$work/orvela.log" 2>&1 &
    window_pid=$!
    # Words of the main window's caption: the splash window, named after
    # the program alone, has none of them.
    window=$(timeout 60 xdotool search --sync --onlyvisible --name 'HF propagation forecast' | head -1) ||
        { cat "$work/orvela.log" >&2; fail "the main window did not appear"; }
    app_pid=$(xdotool getwindowpid "$window")
}

# stop_window: ends the program as a desktop's logout would, with SIGTERM:
# it closes its window and writes its settings into the scratch folder.
stop_window() {
    kill -TERM "$app_pid" 2>/dev/null || true
    wait "$window_pid" 2>/dev/null || true
    window_pid=
    app_pid=
}

# find_window TITLE: the visible window whose title starts with TITLE.
find_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "^$1" | head -1 ||
        { cat "$work/orvela.log" >&2; fail "no window \"$1\" appeared"; }
}

# runnable: whether a thread of the program runs or waits for a processor.
# Its workers run niced: on a busy machine they wait long for one, and a
# look at the time they used would take them for idle.
runnable() {
    local stat
    for stat in /proc/"$app_pid"/task/*/stat; do
        [ "$(sed 's/.*) //' "$stat" 2>/dev/null | cut -d' ' -f1)" = R ] && return 0
    done
    return 1
}

# settle: until no thread of the program has been runnable in five looks a
# tenth of a second apart: what it computes and draws is done. Two minutes
# at most.
settle() {
    local quiet=0
    for _ in $(seq 1200); do
        if runnable; then
            quiet=0
        else
            quiet=$((quiet + 1))
            [ $quiet -ge 5 ] && return 0
        fi
        sleep 0.1
    done
    fail "the window never came to rest"
}

# capture WINDOW FILE [CROP]: the window's picture once two takes half a
# second apart agree, without the time stamps that would make every run's
# file differ.
capture() {
    local crop=()
    [ $# -gt 2 ] && crop=(-crop "$3" +repage)
    settle
    for _ in $(seq 20); do
        import -window "$1" "${crop[@]}" -define png:exclude-chunks=date,time "$work/first.png"
        sleep 0.5
        import -window "$1" "${crop[@]}" -define png:exclude-chunks=date,time "$work/second.png"
        if compare -metric AE "$work/first.png" "$work/second.png" null: 2>/dev/null; then
            mv "$work/second.png" "$2"
            echo "$2"
            return 0
        fi
        settle
    done
    fail "the picture of $2 never came to rest"
}

# click WINDOW X Y [BUTTON]: a click at a point of the window. The
# specified layout keeps every control where these points find it.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"
}

# --- The main window, and the coverage window from the table's menu ----------
start_window 0
# New York picked on the map (74 W, 41 N: pixel 150, 69 of the map, which
# lies at 336, 294), as a user would, so that the strip names the remote
# station; then the pointer goes away.
click "$window" 486 363
xdotool mousemove 0 0
capture "$window" "$out/screenshot.png"

# The 14 MHz row's cell at 14h UTC: the menu on it, C for "Coverage map".
# A key that came before the menu was up is tried again.
coverage=
for _ in 1 2 3; do
    click "$window" 529 127 3
    sleep 0.5
    xdotool key c
    coverage=$(timeout 10 xdotool search --sync --onlyvisible --name '^Coverage' | head -1) && break
    xdotool key Escape
done
[ -n "$coverage" ] || { cat "$work/orvela.log" >&2; fail "the table's menu did not open the coverage window"; }
# The pointer on New York over the map, so that the line under the
# controls describes that point. The map fills the window's width but for
# its 11-pixel margins, at half that height.
eval "$(xdotool getwindowgeometry --shell "$coverage" | grep '^WIDTH=')"
map_width=$((WIDTH - 22))
xdotool mousemove --window "$coverage" $((11 + map_width * (180 - 74) / 360)) $((11 + map_width * (90 - 41) / 360))
capture "$coverage" "$out/coverage.png"

# The planner, by Ctrl+P in the main window: every DXCC entity of Debian's
# country file on all bands, nearest first.
# Without a window manager a window takes the keys once clicked: the
# coverage window is moved out of the way, and the main window's clock,
# which does nothing when clicked, takes the click.
xdotool windowmove --sync "$coverage" 1280 0
planner=
for _ in 1 2 3; do
    click "$window" 240 469
    xdotool key ctrl+p
    planner=$(timeout 10 xdotool search --sync --onlyvisible --name '^Planner' | head -1) && break
done
[ -n "$planner" ] || { cat "$work/orvela.log" >&2; fail "Ctrl+P did not open the planner"; }
xdotool windowsize --sync "$planner" 1100 640
xdotool mousemove 0 0
capture "$planner" "$out/planner.png"
stop_window

# --- The amateur bands --------------------------------------------------------
start_window 1
click "$window" 486 363
xdotool mousemove 0 0
capture "$window" "$out/amateur-bands.png" 856x289+0+0
stop_window

# --- Another date ---------------------------------------------------------------
# The date control over the map's lower right corner (at 706, 529): a
# click on its year, and the Up key a user presses for the next year.
start_window 0
click "$window" 486 363
click "$window" 718 539
xdotool key Up
xdotool mousemove 0 0
capture "$window" "$out/prediction-date.png"
stop_window

# --- The setup dialog -----------------------------------------------------------
start_window 0
click "$window" 198 499
dialog=$(find_window 'Setup')
click "$dialog" 276 88
xdotool type --delay 50 jn18du
xdotool mousemove 0 0
# The keyboard's focus to the screen's root window: the dialog, no longer
# active, stops blinking the text cursor in the locator field.
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ { print $4 }')"
capture "$dialog" "$out/setup-dialog.png"
xdotool key Escape
stop_window

# --- The sheets of orvela-area's and orvela-map's pictures ----------------------
# sheet TILE SHEET [-label CAPTION PICTURE]...: the pictures in a grid of TILE
# (columns x rows), each with its caption under it.
sheet() {
    local tile=$1 file=$2
    shift 2
    montage -font "$font" -pointsize 15 -background white -tile "$tile" -geometry +8+6 "$@" \
        -define png:exclude-chunks=date,time "$file"
    echo "$file"
}

set --
for hour in 00 06 12 18; do
    png="$work/14mhz-$hour.png"
    "$tree/cli/orvela-area" --home 48.85N,2.35E --utc "2026-06-21T$hour:00Z" --band 14 --width 800 --out "$png"
    set -- "$@" -label "14 MHz from Paris, 21 June 2026, $hour:00 UTC" "$png"
done
sheet 2x2 "$out/coverage-14mhz.png" "$@"

set --
for date in "2026-06-21:21 June" "2026-12-21:21 December"; do
    day=${date%%:*}
    for hour in 00 06 12 18; do
        png="$work/$day-$hour.png"
        "$tree/cli/orvela-map" --utc "${day}T$hour:00:00Z" --width 512 --out "$png"
        set -- "$@" -label "${date#*:} 2026, $hour:00 UTC" "$png"
    done
done
sheet 4x2 "$out/solstice-maps.png" "$@"
