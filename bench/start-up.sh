#!/bin/sh
# The start-up of a one-path orvela-predict run, the whole process from exec
# to exit, against a trivial C++ program built here with the same compiler
# (-O2, <iostream> included so that libstdc++ is loaded and initialised as in
# any C++ program). Both are timed in one run, in alternating rounds of many
# repetitions, with hyperfine (Debian's package) or, without it, a loop on
# date +%s%N less the loop's own cost. The maximum resident set comes from
# GNU time (Debian's package "time").
#
# Where the scheduler allows it (root, or CAP_SYS_NICE), the timing runs at
# real-time priority (chrt -f 1), as do the programs it starts: other work
# on the machine then cannot cut into a run, which would stretch the longer
# program more than the shorter one. REALTIME=no times at normal priority.
#
#   bench/start-up.sh [BUILD_DIR]      (default: build)
#
# Goal: the median at most 2 x the trivial program's, and at most 6 MiB
# resident. The exit status is 1 when the goal is not met.
set -eu

if [ "${REALTIME:-yes}" != no ] && [ -z "${ORVELA_START_UP_REALTIME:-}" ] && chrt -f 1 true 2>/dev/null; then
    ORVELA_START_UP_REALTIME=yes exec chrt -f 1 "$0" "$@"
fi

build=${1:-build}
rounds=${ROUNDS:-5}
runs=${RUNS:-200}
predict=$build/cli/orvela-predict
set -- --home 48.85N,2.35E --remote 40.71N,74.01W --date 2026-12-10

[ -x "$predict" ] || { echo "no $predict: build it first (make build)" >&2; exit 2; }
cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null)
cxx=${cxx:-c++}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf '#include <iostream>\nint main() {}\n' >"$tmp/trivial.cpp"
"$cxx" -O2 "$tmp/trivial.cpp" -o "$tmp/trivial"
trivial=$tmp/trivial

# Median of the numbers on standard input, one a line.
median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One line per run of each program, in ms: predict.times and trivial.times.
: >"$tmp/predict.times"
: >"$tmp/trivial.times"
if command -v hyperfine >/dev/null 2>&1; then
    tool="hyperfine, $rounds rounds of $runs runs each"
    round=1
    while [ $round -le "$rounds" ]; do
        hyperfine -N --style none --warmup 20 --runs "$runs" --export-json "$tmp/round.json" \
            "$predict $*" "$trivial" >/dev/null 2>"$tmp/hyperfine.log" || { cat "$tmp/hyperfine.log" >&2; exit 2; }
        python3 - "$tmp" <<'EOF'
import json, sys
tmp = sys.argv[1]
results = json.load(open(tmp + "/round.json"))["results"]
for name, result in zip(("predict", "trivial"), results):
    with open(f"{tmp}/{name}.times", "a") as out:
        out.writelines(f"{t * 1000:.4f}\n" for t in result["times"])
EOF
        round=$((round + 1))
    done
else
    tool="a date +%s%N loop, $((rounds * runs)) runs each"
    ns() { date +%s%N; }
    i=0
    while [ $i -lt $((rounds * runs)) ]; do
        a=$(ns); b=$(ns)
        "$predict" "$@" >/dev/null; c=$(ns)
        "$trivial" >/dev/null; d=$(ns)
        # The loop's own cost: one date between a and b, as between b and c.
        echo "$(( (c - b) - (b - a) ))" | awk '{ print $1 / 1e6 }' >>"$tmp/predict.times"
        echo "$(( (d - c) - (b - a) ))" | awk '{ print $1 / 1e6 }' >>"$tmp/trivial.times"
        i=$((i + 1))
    done
fi

predict_ms=$(median <"$tmp/predict.times")
trivial_ms=$(median <"$tmp/trivial.times")
ratio=$(awk -v p="$predict_ms" -v t="$trivial_ms" 'BEGIN { printf "%.2f", p / t }')

# Maximum resident set size, KiB: the median of 20 runs.
rss() {
    i=0
    while [ $i -lt 20 ]; do
        /usr/bin/time -f %M -o "$tmp/rss" "$@" >/dev/null
        cat "$tmp/rss"
        i=$((i + 1))
    done | median
}
if [ -x /usr/bin/time ]; then
    predict_kib=$(rss "$predict" "$@")
    trivial_kib=$(rss "$trivial")
else
    predict_kib=?
    trivial_kib=?
fi

printf 'Start-up, whole process (%s%s):\n' "$tool" "${ORVELA_START_UP_REALTIME:+, at real-time priority}"
printf '  orvela-predict (one path)  median %6.2f ms   max resident %s KiB\n' "$predict_ms" "$predict_kib"
printf '  trivial C++ program        median %6.2f ms   max resident %s KiB\n' "$trivial_ms" "$trivial_kib"
printf '  ratio %s (goal: at most 2.00); resident goal: at most 6144 KiB\n' "$ratio"

met=$(awk -v r="$ratio" -v k="$predict_kib" 'BEGIN { print (r <= 2 && k != "?" && k <= 6144) ? "yes" : "no" }')
if [ "$met" = yes ]; then
    echo "goal met"
else
    echo "goal not met"
    exit 1
fi
