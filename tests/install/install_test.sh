#!/bin/bash
# Installs the current build into a temporary prefix and runs the installed programs from there:
# the command line and the program under Xvfb against the virtual keyboard, then checks the
# desktop entries, the AppStream data and the udev rule.
# Usage: install_test.sh BUILD_FOLDER SOURCE_FOLDER
set -u
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
BIN=""
. "$source/tests/e2e/e2e_lib.sh"

prefix="$e2e_work/prefix"
echo "== cmake --install into $prefix"
cmake --install "$build" --prefix "$prefix" >"$e2e_work/install.log" 2>&1 ||
    { cat "$e2e_work/install.log"; e2e_fail "cmake --install"; }
BIN="$prefix/bin"

libraries="$prefix/lib/tarvenor"
data="$prefix/share/tarvenor"
for file in bin/tarvenor bin/tarvenor-cli lib/tarvenor/libHidServ.so lib/tarvenor/libHidServSim.so \
    lib/tarvenor/tarvenor-simctl \
    share/tarvenor/Skins/Main.ini share/tarvenor/Skins/Composite.ini \
    share/tarvenor/Skins/Profile.ini share/tarvenor/Skins/icon128.png \
    share/tarvenor/Skins/main_back@2x.jpg share/tarvenor/Skins/0@2x.bmp \
    share/tarvenor/Skins/language.ini share/tarvenor/Help/index.html \
    lib/udev/rules.d/70-tarvenor.rules share/applications/tarvenor.desktop \
    etc/xdg/autostart/tarvenor-autostart.desktop \
    share/metainfo/example.tarvenor.Tarvenor.metainfo.xml; do
    [ -f "$prefix/$file" ] || e2e_fail "not installed: $file"
done
echo "-- only the executables in bin/, nothing on the linker path"
extra=$(ls "$BIN" | grep -vx -e tarvenor -e tarvenor-cli)
[ -z "$extra" ] || e2e_fail "more than the executables in bin/: $extra"
[ -z "$(find "$prefix/lib" -maxdepth 1 -name '*.so*')" ] || e2e_fail "a library on the linker path"
for size in 16 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/tarvenor.png"
    file "$icon" | grep -q "PNG image data, $size x $size" || e2e_fail "icon ${size}: $(file "$icon")"
done
echo "-- no run path into the build folder"
for elf in "$BIN/tarvenor" "$BIN/tarvenor-cli" "$libraries"/*.so "$libraries/tarvenor-simctl"; do
    if readelf -d "$elf" | grep -E 'RPATH|RUNPATH' | grep -q "$build"; then
        e2e_fail "$(basename "$elf") keeps a run path into the build folder"
    fi
done

echo "== the installed command line"
e2e_fresh_user cli
export TARVENOR_HIDSERV="$libraries/libHidServSim.so"
out=$("$BIN/tarvenor-cli" info 2>&1) || e2e_fail "tarvenor-cli info: exit $?: $out"
echo "$out" | grep -qx "Keyboards connected: 1" || e2e_fail "tarvenor-cli info: $out"
echo "$out" | grep -qx "Macro space: 8192 bytes" || e2e_fail "tarvenor-cli info: $out"
echo "-- its help names the installed service libraries"
out=$("$BIN/tarvenor-cli" --help) || e2e_fail "tarvenor-cli --help: exit $?"
for library in libHidServ.so libHidServSim.so; do
    echo "$out" | grep -qxF "  $libraries/$library" || e2e_fail "--help does not name $library: $out"
done
echo "-- the effects are named from the installed skin (no skin: no names)"
out=$("$BIN/tarvenor-cli" lighting --json 2>&1) || e2e_fail "tarvenor-cli lighting: $out"
echo "$out" | grep -q '"effect_name":"[^"]' || e2e_fail "effect not named from the skin: $out"
echo "-- without TARVENOR_HIDSERV it loads libHidServ.so from its library folder"
status=0
out=$(env -u TARVENOR_HIDSERV "$BIN/tarvenor-cli" info 2>&1) || status=$?
# No keyboard here (3), or one (0); 5 would be a library that was not found.
[ "$status" -eq 3 ] || [ "$status" -eq 0 ] || e2e_fail "real service library: exit $status: $out"

echo "== the installed program under Xvfb, with the installed language file"
# The installed copy switched to the second language: the window's title proves that the
# program read this file, and showing at all that it found its skin.
sed -i 's/^language=1/language=0/' "$data/Skins/language.ini"
captions=$(sed -n 's/^MAIN_CAPTION=//p' "$data/Skins/language.ini" | tr -d '\r')
caption=$(echo "$captions" | tail -1)
[ "$caption" != "$(echo "$captions" | head -1)" ] || e2e_fail "no second-language caption"
e2e_display tray
e2e_fresh_user program
export TARVENOR_HIDSERV="$libraries/libHidServSim.so"
e2e_start installed
program=$e2e_pid
e2e_wait 15 e2e_window_shown "$program" ||
    e2e_fail "installed program showed no window: $(cat "$e2e_work/installed.log")"
window=$(e2e_main_window "$program")
title=$(xdotool getwindowname "$window")
[ "$title" = "$caption" ] || e2e_fail "window title '$title', expected '$caption'"
echo "-- the installed simctl unplugs its virtual keyboard: the window goes"
"$libraries/tarvenor-simctl" unplug >/dev/null || e2e_fail "tarvenor-simctl unplug: exit $?"
e2e_wait 5 e2e_window_hidden "$program" || e2e_fail "window still shown after unplug"
"$libraries/tarvenor-simctl" status | grep -q "plugged=no" || e2e_fail "tarvenor-simctl status"
"$BIN/tarvenor" /Kill || e2e_fail "/Kill exit $?"
e2e_wait 10 e2e_exited "$program" || e2e_fail "/Kill did not end the installed program"
wait "$program" || e2e_fail "installed program exit code $?"

echo "== desktop entries, AppStream data"
desktop-file-validate "$prefix/share/applications/tarvenor.desktop" ||
    e2e_fail "desktop entry not valid"
desktop-file-validate "$prefix/etc/xdg/autostart/tarvenor-autostart.desktop" ||
    e2e_fail "autostart entry not valid"
grep -qx 'Exec=tarvenor /Start' "$prefix/etc/xdg/autostart/tarvenor-autostart.desktop" ||
    e2e_fail "autostart entry does not start tarvenor /Start"
appstreamcli validate --no-net "$prefix/share/metainfo/example.tarvenor.Tarvenor.metainfo.xml" ||
    e2e_fail "AppStream data not valid"

echo "== the udev rule matches the keyboard the service library opens"
rule=$(grep -v '^#' "$prefix/lib/udev/rules.d/70-tarvenor.rules" | grep .)
[ "$(echo "$rule" | wc -l)" -eq 1 ] || e2e_fail "expected one rule: $rule"
hex() {
    printf '%04x' "$(sed -n "s/^#define $1 \(0x[0-9A-Fa-f]*\)u*$/\1/p" "$source/hidserv/hidserv.h")"
}
for key in 'SUBSYSTEM=="hidraw"' "ATTRS{idVendor}==\"$(hex HIDSERV_VENDOR_ID)\"" \
    "ATTRS{idProduct}==\"$(hex HIDSERV_PRODUCT_ID)\"" 'TAG+="uaccess"'; do
    echo "$rule" | grep -qF "$key" || e2e_fail "udev rule lacks $key: $rule"
done
if echo "$rule" | grep -qE 'GROUP|MODE'; then
    e2e_fail "udev rule sets a group or mode: $rule"
fi
echo "PASS"
