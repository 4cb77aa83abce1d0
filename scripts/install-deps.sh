#!/bin/sh
# Installs the Debian 12 packages Orvela needs to build, run and test.
# Only missing packages are installed; apt-get runs through sudo when not root.
set -eu

PKGS="build-essential cmake pkg-config ninja-build
qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libgl-dev
libjpeg62-turbo-dev libpng-dev libstb-dev libcurl4-openssl-dev ca-certificates zlib1g-dev
libcli11-dev nlohmann-json3-dev
libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-14-dev
xvfb xauth fonts-dejavu-core"

missing=""
for p in $PKGS; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
