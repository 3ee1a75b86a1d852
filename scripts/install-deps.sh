#!/bin/sh
# Installs the Debian packages (run as root).
#   scripts/install-deps.sh        everything: the build, every test, the sanitizer, fuzz and
#                                  Windows builds (scripts/test-all.sh)
#   scripts/install-deps.sh run    only what building the program and running it on the virtual
#                                  keyboard under Xvfb need (scripts/run-virtual.sh)
set -eu
run_packages="cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libhidapi-dev libxcb1-dev libxcb-xfixes0-dev libwayland-dev
libcli11-dev nlohmann-json3-dev libdbus-1-dev xvfb xdotool imagemagick trayer fonts-dejavu-core"
test_packages="clang libgtest-dev libgmock-dev libbenchmark-dev libxcb-damage0-dev libsm-dev libice-dev jq xauth fonts-wqy-microhei qt6-translations-l10n x11-utils
openbox x11-apps
desktop-file-utils appstream lintian dpkg-dev file binutils
sway swaybg grim wtype qt6-wayland dbus dbus-x11 wayland-protocols
g++-mingw-w64-x86-64-posix wine64"
case "${1:-all}" in
run) packages=$run_packages ;;
all) packages="$run_packages $test_packages" ;;
*)
    echo "usage: $0 [run|all]" >&2
    exit 2
    ;;
esac
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
