#!/bin/sh
# A man page renders without a groff warning and, when the program is given,
# documents exactly the options the program's --help lists; the usage lines
# of --help name every one of them, each way of calling the program (each
# line starting with its name) with the same options as that line of the
# page's synopsis.
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
    # The options of each way of calling the program, one line each, sorted:
    # from the lines of --help's "Usage:" and from the synopsis of the page,
    # whose calls are separated by .br (the page's "PROGRAM --help" has no
    # usage line of its own).
    options_of_each() {
        while read -r call; do
            printf '%s\n' "$call" | grep -o -- '--[a-z][a-z-]*' | sort -u | tr '\n' ' '
            echo
        done
    }
    name=$(basename "$program")
    in_usage=$(printf '%s\n' "$help" | awk '/^Usage:/ { u = 1; next } u && /^$/ { exit } u' \
               | awk -v name="$name" 'index($0, name) == 1 && call != "" { print call; call = "" } { call = call " " $0 }
                                      END { print call }' | options_of_each)
    in_synopsis=$(awk '/^\.SH SYNOPSIS/ { s = 1; next } s && /^\.SH/ { exit } s' "$page" | sed 's/\\-/-/g' \
                  | awk '/^\.br/ { print call; call = ""; next } { call = call " " $0 } END { print call }' \
                  | options_of_each | grep -vx -- '--help ')
    if [ "$in_usage" != "$in_synopsis" ]; then
        echo "the usage of $program --help and the synopsis of $page name other options:"
        echo "usage:"
        printf '%s\n' "$in_usage"
        echo "synopsis:"
        printf '%s\n' "$in_synopsis"
        status=1
    fi
    unused=$(printf '%s\n' "$in_help" | while read -r o; do
        [ "$o" = --help ] || printf '%s\n' "$in_usage" | tr ' ' '\n' | grep -qx -- "$o" || echo "$o"; done)
    if [ -n "$unused" ]; then
        echo "the usage of $program --help leaves out:" $unused
        status=1
    fi
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
