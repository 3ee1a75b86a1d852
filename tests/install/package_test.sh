#!/bin/bash
# Makes the Debian package from the current build and checks its files, its control fields and
# lintian's verdict (neither errors nor warnings). Exits 77 (skipped) without cpack's DEB tools or lintian.
# Usage: package_test.sh BUILD_FOLDER
set -u
build=$(cd "$1" && pwd)
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

echo "== cpack -G DEB"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$work/tarvenor_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work")"

echo "-- the files"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for file in /usr/bin/tarvenor /usr/bin/tarvenor-cli /usr/lib/tarvenor/libHidServ.so \
    /usr/lib/tarvenor/libHidServSim.so /usr/lib/tarvenor/tarvenor-simctl \
    /usr/share/man/man1/tarvenor.1.gz \
    /usr/share/man/man1/tarvenor-cli.1.gz \
    /usr/share/tarvenor/Skins/Main.ini /usr/share/tarvenor/Skins/language.ini \
    /usr/share/tarvenor/Skins/main_normal@2x.jpg /usr/share/tarvenor/Skins/key_over@2x.jpg \
    /usr/share/tarvenor/Help/index.html /usr/lib/udev/rules.d/70-tarvenor.rules \
    /usr/share/applications/tarvenor.desktop /etc/xdg/autostart/tarvenor-autostart.desktop \
    /usr/share/icons/hicolor/48x48/apps/tarvenor.png \
    /usr/share/metainfo/example.tarvenor.Tarvenor.metainfo.xml \
    /usr/share/doc/tarvenor/copyright /usr/share/doc/tarvenor/changelog.gz; do
    grep -qxF "$file" "$work/files" || fail "not in the package: $file"
done
if grep -E '^/usr/(local|etc)/|/build' "$work/files"; then
    fail "files outside the distribution's folders"
fi

echo "-- the control fields"
dpkg-deb -I "$deb" >"$work/info"
depends=$(sed -n 's/^ Depends: //p' "$work/info")
for package in libhidapi-hidraw0 libqt6widgets6 libqt6network6 libc6 libstdc++6; do
    echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qxF "$package" ||
        fail "Depends lacks $package: $depends"
done
recommends=$(sed -n 's/^ Recommends: //p' "$work/info")
for wanted in qt6-wayland "fonts-wqy-microhei | fonts-noto-cjk" qt6-translations-l10n; do
    echo "$recommends" | tr ',' '\n' | sed 's/^ *//' | grep -qxF "$wanted" ||
        fail "Recommends lacks $wanted: $recommends"
done
for field in Maintainer Section Homepage Description; do
    grep -q "^ $field: ." "$work/info" || fail "no $field field"
done
dpkg-deb -e "$deb" "$work/control"
grep -qx /etc/xdg/autostart/tarvenor-autostart.desktop "$work/control/conffiles" ||
    fail "the autostart entry is not a conffile"

echo "== lintian"
lintian --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"
echo "PASS"
