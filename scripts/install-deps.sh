#!/bin/sh
# Installs the Debian packages the build, the tests and the virtual keyboard need (run as root).
set -eu
packages="cmake ninja-build g++ clang pkg-config libgtest-dev libgmock-dev libbenchmark-dev
libcli11-dev nlohmann-json3-dev libxcb1-dev jq
qt6-base-dev qt6-translations-l10n libgl-dev libhidapi-dev xvfb xauth fonts-dejavu-core fonts-wqy-microhei xdotool imagemagick trayer
x11-utils
desktop-file-utils appstream lintian dpkg-dev file binutils
g++-mingw-w64-x86-64-posix wine64"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
fi
