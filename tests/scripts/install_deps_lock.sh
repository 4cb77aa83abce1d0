#!/bin/bash
# scripts/install-deps.sh and another package manager at work: while the
# package database's lock is held, the script says so and waits, then goes
# on once the lock is let go; with no time left it gives up with a message
# naming the holder; a command that loses the lock to another package
# manager at the last moment runs again.
#
# The lock is the real one, held as dpkg and apt hold it (fcntl), so the test
# needs root and is skipped without it. dpkg, apt-get and locale are
# stand-ins on the PATH that only write down how they were called: nothing is
# installed, configured or generated.
#   install_deps_lock.sh INSTALL_DEPS_SCRIPT
set -u
script=$1
[ "$(id -u)" -eq 0 ] || { echo "skipped: holding the package database's lock needs root"; exit 77; }

work=$(mktemp -d)
holder_pid=""
script_pid=""
# shellcheck disable=SC2317 # run by the trap
cleanup() {
    [ -z "$script_pid" ] || kill "$script_pid" 2>/dev/null
    [ -z "$holder_pid" ] || kill "$holder_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/bin"
# Each stand-in writes its command line to calls. The dpkg stand-in fails
# once on the lock when lose-lock-once exists, as dpkg does when another
# package manager took the lock first.
cat >"$work/bin/dpkg" <<STANDIN
#!/bin/sh
echo "dpkg \$*" >>"$work/calls"
if [ -e "$work/lose-lock-once" ]; then
    rm "$work/lose-lock-once"
    echo "dpkg: error: dpkg frontend lock was locked by another process with pid 1" >&2
    exit 2
fi
STANDIN
cat >"$work/bin/apt-get" <<STANDIN
#!/bin/sh
echo "apt-get \$*" >>"$work/calls"
STANDIN
# The decimal-comma locale is there already.
printf '#!/bin/sh\necho de_DE.utf8\n' >"$work/bin/locale"
chmod +x "$work/bin/"*
missing_package=orvela-test-package-that-is-not-installed

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Holds the lock on $1 until release_lock; skips the test when another
# package manager holds it already.
hold_lock() {
    coproc HOLDER {
        exec python3 -c '
import fcntl, os, sys
fd = os.open(sys.argv[1], os.O_RDWR | os.O_CREAT, 0o640)
try:
    fcntl.lockf(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
except OSError:
    print("busy", flush=True)
    sys.exit(0)
print("held", flush=True)
sys.stdin.read()
' "$1"
    }
    # shellcheck disable=SC2153 # set by coproc
    holder_pid=$HOLDER_PID
    local answer=""
    read -r -t 60 answer <&"${HOLDER[0]}"
    if [ "$answer" != held ]; then
        echo "skipped: another package manager holds $1 (or it cannot be locked: $answer)"
        exit 77
    fi
}

# The holder ends when its input closes, and the lock goes with it.
release_lock() {
    local input=${HOLDER[1]}
    exec {input}>&-
    wait "$holder_pid"
    holder_pid=""
}

# Starts the script, its output read line by line from fd 3.
start_script() {
    rm -f "$work/calls" "$work/out"
    mkfifo "$work/out"
    PATH="$work/bin:$PATH" "$@" "$script" "$missing_package" >"$work/out" 2>&1 &
    script_pid=$!
    exec 3<"$work/out"
}

# Reads the script's output until a line holds $1; false at its end.
read_until() {
    local line
    while IFS= read -r -t 300 line <&3; do
        printf '  | %s\n' "$line"
        echo "$line" >>"$work/log"
        case $line in *"$1"*) return 0 ;; esac
    done
    return 1
}

finish_script() {
    read_until "no such line ever"
    exec 3<&-
    wait "$script_pid"
    local rc=$?
    script_pid=""
    return $rc
}

# Waits while each lock is held, and goes on when it is let go.
for lock in /var/lib/dpkg/lock-frontend /var/lib/apt/lists/lock; do
    [ -e "$lock" ] || continue
    echo "holding $lock"
    hold_lock "$lock"
    : >"$work/log"
    start_script env ORVELA_APT_LOCK_WAIT=600
    if read_until "Waiting for another package manager"; then
        grep -q "Waiting for another package manager to finish: .*(process $holder_pid) holds $lock (for up to 10 minutes" "$work/log" ||
            fail "the waiting line does not name the holder, the lock and the wait"
        [ ! -e "$work/calls" ] || fail "package commands ran while $lock was held: $(cat "$work/calls")"
    else
        fail "no line said that the script waits for $lock"
    fi
    release_lock
    finish_script || fail "the script failed after $lock was let go"
    grep -q "going on" "$work/log" || fail "no line said that the script goes on"
    expected="dpkg --configure -a
apt-get -o DPkg::Lock::Timeout=[0-9]* update -qq
apt-get -o DPkg::Lock::Timeout=[0-9]* install -y -qq --no-install-recommends .*$missing_package"
    [ "$(printf '%s\n' "$expected" | grep -cxf - "$work/calls")" -eq 3 ] ||
        fail "after the wait, the package commands were not run as expected: $(cat "$work/calls" 2>/dev/null)"
done

# No time left: it gives up at once with a message, and installs nothing.
echo "holding /var/lib/dpkg/lock-frontend, no time to wait"
hold_lock /var/lib/dpkg/lock-frontend
: >"$work/log"
start_script env ORVELA_APT_LOCK_WAIT=0
if finish_script; then
    fail "the script did not fail when the lock stayed held"
fi
grep -q "gave up waiting for the package database after 0 seconds: .*(process $holder_pid) holds /var/lib/dpkg/lock-frontend" "$work/log" ||
    fail "the failure does not name the holder"
grep -q "ORVELA_APT_LOCK_WAIT=<seconds>" "$work/log" || fail "the failure does not say how to wait longer"
[ ! -e "$work/calls" ] || fail "package commands ran although the lock stayed held: $(cat "$work/calls")"
release_lock

# dpkg loses the lock to another package manager at the last moment: it
# runs again, and the script goes on.
echo "dpkg finds the lock taken once"
: >"$work/log"
touch "$work/lose-lock-once"
start_script env ORVELA_APT_LOCK_WAIT=600
finish_script || fail "the script failed after dpkg lost the lock once"
[ "$(grep -c '^dpkg --configure -a$' "$work/calls")" -eq 2 ] || fail "dpkg did not run again: $(cat "$work/calls")"
grep -q "^apt-get .* install " "$work/calls" || fail "nothing was installed after dpkg ran again"

[ "$failures" -eq 0 ] && echo "install-deps.sh waits for the package database's lock, gives up with a message, and retries a lost lock"
exit $((failures > 0))
