#!/bin/sh
# Installs the Debian 12 packages Orvela needs to build, run and test, and
# generates the German locale that the decimal-comma test runs under.
# Only what is missing is installed or generated; apt-get and locale-gen run
# through sudo when not root. Packages named as arguments are installed too.
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

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    # An earlier run stopped half-way leaves packages unpacked but not
    # configured, and apt-get refuses to go on until they are.
    $SUDO dpkg --configure -a
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq --no-install-recommends $missing
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
