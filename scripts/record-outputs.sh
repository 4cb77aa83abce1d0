#!/bin/sh
# Records what the three command-line programs write for a fixed set of
# command lines: standard output, standard error, exit status and every file
# written. Two records, of two commits, compared with `diff -r` prove that a
# change meant to keep behaviour kept it byte for byte.
#
#   scripts/record-outputs.sh BUILD_DIR OUT_DIR
#
# BUILD_DIR is a built tree (its cli/ holds the programs). Every line names
# its date or moment, a past one, so the record does not depend on the day
# or the hour it is made (today's date marks the current hour).
# The bulletin for --flux auto comes from a server on loopback (python3's
# http.server), so no network is used.
set -u
build=$(cd "$1" && pwd)
out=$2
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)
served=$(mktemp -d)
cp "$here/tests/solar/fixtures/2026-08-20.txt" "$served/wwv.txt" 2>/dev/null ||
    cp "$here/../shared/data/wwv/2026-08-20.txt" "$served/wwv.txt"
# A fixed port: the address is part of the outputs.
port=${ORVELA_RECORD_PORT:-47651}
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$served" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$served"' EXIT
until python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/wwv.txt')" 2>/dev/null; do :; done
bulletin="http://127.0.0.1:$port/wwv.txt"
cli="$build/cli"
n=0

# run NAME PROGRAM ARGS...: runs in a scratch folder, then keeps what it made.
run() {
    name=$1
    shift
    n=$((n + 1))
    dir="$out/$(printf '%03d' $n)-$name"
    rm -rf "$dir"
    mkdir -p "$dir/files"
    printf "%s\n" "$*" | sed "s|$build/|BUILD/|g; s|$here/|SOURCE/|g" >"$dir/command"
    (cd "$dir/files" && HOME="$dir/files" LC_ALL=C.UTF-8 TZ=UTC "$@" >"$dir/stdout" 2>"$dir/stderr" </dev/null
     echo $? >"$dir/rc")
}

# run_in NAME INPUT PROGRAM ARGS...: the same with INPUT on standard input.
run_in() {
    name=$1
    input=$2
    shift 2
    n=$((n + 1))
    dir="$out/$(printf '%03d' $n)-$name"
    rm -rf "$dir"
    mkdir -p "$dir/files"
    printf "%s\n" "$*" | sed "s|$build/|BUILD/|g; s|$here/|SOURCE/|g" >"$dir/command"
    (cd "$dir/files" && printf '%s' "$input" | HOME="$dir/files" LC_ALL=C.UTF-8 TZ=UTC "$@" >"$dir/stdout" 2>"$dir/stderr"
     echo $? >"$dir/rc")
}

P="$cli/orvela-predict"
M="$cli/orvela-map"
A="$cli/orvela-area"
D="--date 2025-12-11"
# --flux auto asks NOAA's other products for a date that is not today: at the
# loopback server too (which has none of them), when the programs take
# --service-url, so that the record never uses the network.
S=
if "$P" --help | grep -q -- --service-url; then S="--service-url http://127.0.0.1:$port"; fi

run predict-help "$P" --help
run predict-none "$P"
run paris-ny "$P" --home 48.85N,2.35E --remote 40.71N,74.01W $D
run paris-ny-dipole "$P" --home 48.85N,2.35E --remote 40.71N,74.01W --antenna dipole $D
run paris-ny-yagi-json "$P" --home 48.85N,2.35E --remote 40.71N,74.01W --antenna yagi --format json $D
run paris-ny-csv "$P" --home 48.85N,2.35E --remote 40.71N,74.01W --format csv $D
for d in signal angle delay best; do
    run "display-$d" "$P" --home JN18DU --remote FN30 --display $d --date 2026-06-21
    run "display-$d-ham" "$P" --home JN18DU --remote FN30 --display $d --bands ham --date 2026-06-21 --format json
done
run sydney-long "$P" --home 33.87S,151.21E --remote 21.31N,157.86W --long-path $D
run sydney-long-json "$P" --home 33.87S,151.21E --remote 21.31N,157.86W --long-path --format json $D
run sydney-long-csv "$P" --home 33.87S,151.21E --remote 21.31N,157.86W --long-path --format csv $D
run tokyo-power "$P" --home 35.68N,139.69E --remote 51.5N,0.12W --power 2500 --min-angle 3 --flux 250.25 $D
run low-power "$P" --home 35.68N,139.69E --remote 51.5N,0.12W --power 5 --min-angle 90 --flux 1 $D
run antipode "$P" --home 0N,0E --remote 0N,180W $D --format json
run same-point "$P" --home 10N,10E --remote 10N,10E $D --format json
run pole "$P" --home 90N,0E --remote 90S,0E $D
run call "$P" --home 48.85N,2.35E --remote 40.71N,74.01W --call F6XYZ $D --format json
run call-bad "$P" --home 48.85N,2.35E --remote 40.71N,74.01W --call "$(printf 'F6\001')" $D
run flux-auto "$P" --home 48.85N,2.35E --remote 40.71N,74.01W --flux auto --flux-url "$bulletin" $D --format json $S
run flux-auto-text "$P" --home 48.85N,2.35E --remote 40.71N,74.01W --flux auto --flux-url "$bulletin" $D $S
run flux-auto-missing "$P" --home 48.85N,2.35E --remote 40.71N,74.01W --flux auto --flux-url "http://127.0.0.1:$port/missing.txt" $D --format json $S
for bad in "--home 91N,0E --remote 0N,0E" "--home 48.85N,2.35E" "--home -48.85,2.35 --remote 0N,0E" \
    "--home JN18 --remote ZZ99" "--home JN18 --remote FN30 --power 4" "--home JN18 --remote FN30 --power 2501" \
    "--home JN18 --remote FN30 --min-angle 91" "--home JN18 --remote FN30 --flux 0" "--home JN18 --remote FN30 --flux 501" \
    "--home JN18 --remote FN30 --antenna loop" "--home JN18 --remote FN30 --display x" "--home JN18 --remote FN30 --bands y" \
    "--home JN18 --remote FN30 --date 2026-02-30" "--home JN18 --remote FN30 --format xml" \
    "--home JN18 --remote FN30 --long-path=false" "--home JN18 --remote FN30 --bogus"; do
    # shellcheck disable=SC2086
    run bad "$P" $bad $D
done
batch='{"home":"JN18DU","remote":"FN30","date":"2025-12-11"}
{"home":"48.85N,2.35E","remote":"40.71N,74.01W","flux":150,"power":"100","min-angle":5,"long-path":true,"antenna":"dipole","display":"angle","bands":"ham","date":"2026-03-01","call":"G4ABC"}

{"home":"91N,0E","remote":"FN30"}
not json
{"home":"JN18","remote":"QF56","flux":"auto","date":"2025-12-11"}
'
run_in batch-json "$batch" "$P" --batch - --threads 2 --flux-url "$bulletin" $S
run_in batch-csv "$batch" "$P" --batch - --format csv --threads 1 --flux-url "$bulletin" $S
run batch-missing "$P" --batch /nonexistent/batch.jsonl

run map-help "$M" --help
run map-default "$M" --utc 2026-06-21T12:00:00Z --out map.png
run map-wide "$M" --utc 2025-12-11T03:30:00Z --width 1000 --out map.png
run map-nosun "$M" --utc 2026-03-20T18:00:00Z --width 16 --no-sun --out map.png
run map-pictures "$M" --utc 2026-09-23T00:00:00Z --day "$here/resources/map-day.jpg" --night "$here/resources/map-night.jpg" --out map.png
run map-bad-width "$M" --utc 2026-06-21T12:00:00Z --width 8193 --out map.png
run map-bad-utc "$M" --utc 2026-06-21 --out map.png
run map-one-picture "$M" --utc 2026-06-21T12:00:00Z --day "$here/resources/map-day.jpg" --out map.png

run area-help "$A" --help
run area-png "$A" --home JN18DU --utc 2025-12-11T12:00Z --band 20m --out area.png
run area-csv "$A" --home 48.85N,2.35E --utc 2025-12-11T18:00Z --band 7.1 --step 5 --out area.csv
run area-json "$A" --home FN30 --utc 2026-06-21T00:00:00Z --band "40 m" --antenna yagi --power 100 --step 10 --out area.json
run area-long "$A" --home QF56 --utc 2025-12-11T06:00Z --band 14 --long-path --step 15 --out area.json
run area-empty "$A" --home JN18 --utc 2025-12-11T12:00Z --band 28.5 --power 5 --flux 1 --min-angle 90 --out area.png
run area-all-hours "$A" --home JN18 --utc 2025-12-11T12:00Z --band 10m --step 20 --all-hours --out area.csv
run area-all-hours-png "$A" --home JN18 --utc 2025-12-11T12:00Z --band 10m --step 20 --all-hours --width 512 --out area.png
run area-flux-auto "$A" --home JN18 --utc 2025-12-11T12:00Z --band 20m --step 20 --flux auto --flux-url "$bulletin" --out area.json $S
run area-bad-band "$A" --home JN18 --utc 2025-12-11T12:00Z --band 2m --out area.png
run area-bad-step "$A" --home JN18 --utc 2025-12-11T12:00Z --band 20m --step 7 --out area.png
run area-bad-out "$A" --home JN18 --utc 2025-12-11T12:00Z --band 20m --out area.gif

# orvela-plan, from the tests' country file so that the record does not
# depend on the machine's; a tree built before the program has none.
L="$cli/orvela-plan"
if [ -x "$L" ]; then
    cty="$here/tests/country/fixtures/cty-small.dat"
    run plan-help "$L" --help
    run plan-chart "$L" --home JN18DU --date 2025-12-11 --flux 120 --country-file "$cty" --call F6XYZ
    run plan-csv "$L" --home 48.85N,2.35E --date 2026-06-21 --band 20m --targets JA1ABC,FN31,XX9ZZZ --country-file "$cty" --format csv
    run plan-json "$L" --home FN30 --date 2025-12-11 --band 7.1 --long-path --antenna yagi --sort distance --country-file "$cty" --format json
    run plan-hour "$L" --home JN18 --date 2025-12-11 --hour 3 --search russia --country-file "$cty"
    run plan-bad-band "$L" --home JN18 --band 2m --country-file "$cty"
fi
echo "$n command lines recorded in $out"
