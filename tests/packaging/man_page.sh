#!/bin/sh
# A man page renders without a groff warning and, when the program is given,
# documents exactly the options the program's --help lists.
#   man_page.sh PAGE [PROGRAM]
set -u
page=$1
program=${2:-}
status=0

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
    echo "$page: groff warnings:"
    echo "$warnings"
    status=1
fi

if [ -n "$program" ]; then
    help=$("$program" --help) || { echo "$program --help failed"; exit 1; }
    # The options of --help: the lines of its option list.
    in_help=$(printf '%s\n' "$help" | sed -n 's/^  \(--[a-z][a-z-]*\).*/\1/p' | sort -u)
    # The options of the page: the tags of its paragraphs (.TP, then .B or .BI).
    in_page=$(awk '/^\.TP/ { tag = 1; next } tag && /^\.BI? \\-\\-/ { print $2 } { tag = 0 }' "$page" \
              | sed 's/\\-/-/g' | sort -u)
    if [ -z "$in_help" ]; then
        echo "$program --help lists no option"
        exit 1
    fi
    missing=$(printf '%s\n' "$in_help" | while read -r o; do printf '%s\n' "$in_page" | grep -qx -- "$o" || echo "$o"; done)
    extra=$(printf '%s\n' "$in_page" | while read -r o; do printf '%s\n' "$in_help" | grep -qx -- "$o" || echo "$o"; done)
    if [ -n "$missing" ]; then
        echo "$page does not document:" $missing
        status=1
    fi
    if [ -n "$extra" ]; then
        echo "$page documents options $program does not have:" $extra
        status=1
    fi
fi
exit $status
