#!/bin/sh
# Installs the Debian 12 packages Orvela needs to build, run and test, and
# generates the German locale that the decimal-comma test runs under.
# Only what is missing is installed or generated; apt-get and locale-gen run
# through sudo when not root. Packages named as arguments are installed too.
#
# Another package manager at work (a fresh desktop's automatic updates,
# another install) holds the package database's locks: the script then says
# so and waits for them, up to ORVELA_APT_LOCK_WAIT seconds in all (600 when
# unset), before it gives up with a message that names the holder.
set -eu

PKGS="build-essential cmake pkg-config ninja-build
qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
libjpeg62-turbo-dev libpng-dev libstb-dev libcurl4-openssl-dev ca-certificates zlib1g-dev libcairo2-dev
libcli11-dev nlohmann-json3-dev
libgtest-dev libgmock-dev libbenchmark-dev libhamlib-dev
clang libclang-rt-14-dev
xvfb xauth fonts-dejavu-core fonts-liberation2 locales
fp-utils-3.2.2 python3
librsvg2-bin desktop-file-utils appstream man-db dpkg-dev
hamradio-files
$*"

# A locale whose decimal separator is a comma.
COMMA_LOCALE="de_DE.UTF-8"

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

missing=""
for p in $PKGS; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

# How long to wait for another package manager, seconds, for the whole run.
LOCK_WAIT=${ORVELA_APT_LOCK_WAIT:-600}
case $LOCK_WAIT in
'' | *[!0-9]*)
    echo "install-deps.sh: ORVELA_APT_LOCK_WAIT must be a whole number of seconds, not \"$LOCK_WAIT\"" >&2
    exit 2
    ;;
esac
LOCK_DEADLINE=$(($(date +%s) + LOCK_WAIT))

# The locks of dpkg and apt. Both take them with fcntl(), which /proc/locks
# lists by device and inode with the holder's process id.
LOCK_FILES="/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock"

# "apt-get (process 1234) holds /var/lib/dpkg/lock-frontend" for the first
# of the locks that is held; nothing when none is.
lock_holder() {
    for file in $LOCK_FILES; do
        id=$(stat -Lc '%Hd %Ld %i' "$file" 2>/dev/null) || continue
        # shellcheck disable=SC2086
        set -- $id
        key=$(printf '%02x:%02x:%s' "$1" "$2" "$3")
        # Lines of waiting requests have "->" in their second field.
        pid=$(awk -v key="$key" '$2 != "->" && $6 == key { print $5; exit }' /proc/locks 2>/dev/null) || pid=""
        [ -n "$pid" ] || continue
        # A holder in another process namespace, or an open file
        # description's lock, shows no usable process id.
        if name=$(cat "/proc/$pid/comm" 2>/dev/null) && [ "$pid" -gt 0 ]; then
            echo "$name (process $pid) holds $file"
        else
            echo "another process holds $file"
        fi
        return
    done
}

# Seconds left of the wait.
lock_wait_left() {
    left=$((LOCK_DEADLINE - $(date +%s)))
    [ "$left" -gt 0 ] || left=0
    echo "$left"
}

# "10 minutes", "1 minute", "45 seconds".
duration() {
    if [ "$1" -ge 60 ]; then
        minutes=$((($1 + 59) / 60))
        unit=minutes
    else
        minutes=$1
        unit=seconds
    fi
    if [ "$minutes" -eq 1 ]; then
        echo "1 ${unit%s}"
    else
        echo "$minutes $unit"
    fi
}

# Returns once no other package manager holds a lock: says so at once when
# one does, and again every minute; fails when the time is up.
wait_for_package_manager() {
    holder=$(lock_holder)
    [ -n "$holder" ] || return 0
    if [ "$(lock_wait_left)" -gt 0 ]; then
        echo "Waiting for another package manager to finish: $holder (for up to $(duration "$(lock_wait_left)"); ORVELA_APT_LOCK_WAIT sets the seconds)"
    fi
    next_note=$(($(date +%s) + 60))
    while [ -n "$holder" ]; do
        if [ "$(lock_wait_left)" -eq 0 ]; then
            echo "install-deps.sh: gave up waiting for the package database after $(duration "$LOCK_WAIT"): $holder." >&2
            echo "Let it finish (a desktop's automatic updates take a few minutes) and run this again, or wait longer with ORVELA_APT_LOCK_WAIT=<seconds>." >&2
            exit 1
        fi
        if [ "$(date +%s)" -ge "$next_note" ]; then
            echo "Still waiting: $holder ($(duration "$(lock_wait_left)") left)"
            next_note=$((next_note + 60))
        fi
        sleep 1
        holder=$(lock_holder)
    done
    echo "The package database is free again: going on."
}

# Runs a package command as root once no other package manager is at work.
# Another one may take a lock between the look and the command: the command
# then fails on it, and runs again after the wait.
as_root_when_free() {
    while :; do
        wait_for_package_manager
        errors=$(mktemp)
        status=0
        $SUDO "$@" 2>"$errors" || status=$?
        cat "$errors" >&2
        if [ "$status" -ne 0 ] && grep -Eq 'Could not get lock|Unable to lock|Unable to acquire the dpkg|locked by another process' "$errors" &&
            [ "$(lock_wait_left)" -gt 0 ]; then
            rm -f "$errors"
            sleep 1
            continue
        fi
        rm -f "$errors"
        return "$status"
    done
}

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    # An earlier run stopped half-way leaves packages unpacked but not
    # configured, and apt-get refuses to go on until they are.
    as_root_when_free dpkg --configure -a
    # apt-get waits for dpkg's lock itself too, for what is left of the wait.
    as_root_when_free apt-get -o DPkg::Lock::Timeout="$(lock_wait_left)" update -qq
    # shellcheck disable=SC2086
    as_root_when_free apt-get -o DPkg::Lock::Timeout="$(lock_wait_left)" install -y -qq --no-install-recommends $missing
fi

# locale -a writes "de_DE.utf8" for de_DE.UTF-8.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the locale $COMMA_LOCALE"
    if grep -q "^# *$COMMA_LOCALE UTF-8" /etc/locale.gen 2>/dev/null; then
        $SUDO sed -i "s/^# *\($COMMA_LOCALE UTF-8\)/\1/" /etc/locale.gen
    elif ! grep -q "^$COMMA_LOCALE UTF-8" /etc/locale.gen 2>/dev/null; then
        echo "$COMMA_LOCALE UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen
fi
