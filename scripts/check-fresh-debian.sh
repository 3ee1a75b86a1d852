#!/bin/bash
# What a user of a fresh Debian 12 gets from the package: the package made from a build folder is
# installed with apt into new bookworm roots (debootstrap, minbase), once as apt does by default
# (Recommends on) and once with --no-install-recommends. In each root the installed program runs
# on the virtual keyboard under Xvfb, in Chinese and in English, with a screenshot of its main
# window, and `tarvenor-cli doctor` reports. With Recommends doctor must find a font for Chinese,
# without them it must say that none covers it. Look at the screenshots: Chinese characters, not
# empty boxes.
# Run as root, with the network to the Debian mirror apt uses here. Not part of the tests.
# Usage: scripts/check-fresh-debian.sh BUILD_FOLDER [OUT_FOLDER]   (KEEP_ROOTS=1 keeps the roots)
set -eu
[ "$(id -u)" -eq 0 ] || { echo "check-fresh-debian: run as root" >&2; exit 1; }
[ -f "${1:-}/CPackConfig.cmake" ] || { echo "usage: $0 BUILD_FOLDER [OUT_FOLDER]" >&2; exit 1; }
build=$(cd "$1" && pwd)
out=${2:-/tmp/tarvenor-fresh-debian}
mkdir -p "$out" && out=$(cd "$out" && pwd)
lock=/tmp/tarvenor-program.lock
# shellcheck source=scripts/fresh-root-lib.sh
. "$(dirname "$0")/fresh-root-lib.sh"

# Chinese (0) or English (1) in the installed language file, then the program and doctor in the root.
run_language() {
    local root=$1 pass=$2 index=$3 language=$4 n=5201
    # The abstract X socket is the machine's, not the root's: take a number nobody listens on.
    while grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix || [ -e "/tmp/.X11-unix/X$n" ]; do
        n=$((n + 1))
    done
    step "$pass: the program in $language on display :$n"
    local status=0
    flock -w 1800 "$lock" chroot "$root" "${root_env[@]}" /bin/sh /tmp/run-one.sh "$index" \
        "$language" "$n" || status=$?
    for file in "$root"/tmp/out/*; do
        [ -e "$file" ] || continue
        cp "$file" "$out/$pass-$(basename "$file")"
    done
    rm -rf "$root/tmp/out"
    [ "$status" -eq 0 ] || fail "$pass: the program in $language (see $out/$pass-*-$language.*)"
}

# One pass: a copy of the base root, the package installed with apt's OPTIONS, both languages.
run_pass() {
    local pass=$1 root=$work/$1
    shift
    step "$pass: a fresh root in $root"
    cp -a "$work/base" "$root"
    mount_system "$root"
    cp "$deb" "$root/tmp/"
    step "$pass: apt-get install ${*:+$* }./$(basename "$deb")"
    in_root "$root" sh -c "cd /tmp && apt-get install -y $* ./$(basename "$deb")" \
        >"$out/$pass-apt.log" 2>&1 || fail "$pass: installing the package (see $out/$pass-apt.log)"
    # Without their Recommends: ghostscript's, for one, would bring a Chinese font.
    step "$pass: what the check needs (xvfb, xdotool, imagemagick, fontconfig)"
    in_root "$root" apt-get install -y --no-install-recommends xvfb xdotool imagemagick fontconfig \
        >>"$out/$pass-apt.log" 2>&1 || fail "$pass: installing the check's tools (see $out/$pass-apt.log)"
    {
        echo "# fonts and translations installed"
        # shellcheck disable=SC2016 # dpkg-query's fields
        in_root "$root" dpkg-query -W -f '${db:Status-Abbrev} ${Package} ${Version}\n' \
            'fonts-*' qt6-translations-l10n 2>&1 || true
        echo "# fc-match :lang=zh-cn"
        in_root "$root" fc-match :lang=zh-cn
        echo "# fc-list :lang=zh-cn family"
        in_root "$root" fc-list :lang=zh-cn family
    } >"$out/$pass-fonts.txt"
    cp "$inner" "$root/tmp/run-one.sh"
    run_language "$root" "$pass" 0 chinese
    run_language "$root" "$pass" 1 english
    unmount_all
}

# Runs inside the root: one language under Xvfb, doctor's report and the main window's picture.
inner=$work/run-one.sh
cat >"$inner" <<'EOF'
set -u
index=$1 language=$2 n=$3 out=/tmp/out
fail() { echo "FAIL ($language): $*" >&2; exit 1; }
mkdir -p "$out"
sed -i "s/^language=[^\r]*/language=$index/" /usr/share/tarvenor/Skins/language.ini
grep -q "^language=$index" /usr/share/tarvenor/Skins/language.ini || fail "language not set"
export DISPLAY=":$n" XDG_RUNTIME_DIR="/tmp/run-$language" TARVENOR_SIM_DIR="/tmp/sim-$language"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# -noreset: a server resetting after doctor's last connection turns the program's away.
Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp -noreset >"$out/xvfb-$language.log" 2>&1 &
xvfb=$! program=""
trap 'kill $program $xvfb 2>/dev/null; wait' EXIT
i=0
until xdotool getdisplaygeometry >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -lt 100 ] && kill -0 "$xvfb" 2>/dev/null || fail "Xvfb did not start on :$n"
    sleep 0.1
done
kill -0 "$xvfb" 2>/dev/null || fail "display :$n belongs to another X server"
# Doctor as the user would run it: the real service library, this display.
tarvenor-cli doctor >"$out/doctor-$language.txt" 2>&1
echo "exit $?" >>"$out/doctor-$language.txt"
export TARVENOR_HIDSERV=/usr/lib/tarvenor/libHidServSim.so
tarvenor >"$out/program-$language.log" 2>&1 &
program=$!
window="" limit=$(($(date +%s) + 20))
while [ "$(date +%s)" -lt "$limit" ]; do
    window=$(xdotool search --all --onlyvisible --pid "$program" --name . 2>/dev/null | head -1)
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || fail "the program ended: $(tail -5 "$out/program-$language.log")"
    sleep 0.05
done
[ -n "$window" ] || fail "the main window did not appear: $(tail -5 "$out/program-$language.log")"
# Let the arrival reads finish and the window paint them.
sleep 1
# A window gone between the search and the picture leaves import waiting for ever.
timeout 60 import -window "$window" "$out/main-window-$language.png" || fail "no screenshot"
[ -s "$out/main-window-$language.png" ] || fail "empty screenshot"
tarvenor /kill
wait "$program" || fail "the program ended with $?"
program=""
EOF

step "cpack -G DEB from $build"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$out/cpack.log" 2>&1 ||
    fail "cpack (see $out/cpack.log)"
set -- "$work"/package/tarvenor_*.deb
deb=$1
[ -f "$deb" ] || fail "cpack made no tarvenor_*.deb (see $out/cpack.log)"

make_base_root "$work/base" "$out/debootstrap.log"

run_pass recommends
run_pass no-recommends --no-install-recommends

step "doctor's verdicts"
font_line() { grep "language font" "$out/$1-doctor-$2.txt" || true; }
font_line recommends chinese | grep -q '^OK ' ||
    fail "with Recommends doctor finds no font for Chinese: $(font_line recommends chinese)"
font_line no-recommends chinese | grep -q '^FIX .*no installed font covers Chinese' ||
    fail "without Recommends doctor does not say that no font covers Chinese: $(font_line no-recommends chinese)"
for pass in recommends no-recommends; do
    font_line "$pass" english | grep -q '^OK ' || fail "$pass: no font for English: $(font_line "$pass" english)"
done
# Boxes and characters cannot look the same.
differing=$(compare -metric AE "$out/recommends-main-window-chinese.png" \
    "$out/no-recommends-main-window-chinese.png" null: 2>&1 || true)
case $differing in
'' | *[!0-9.e+]*) fail "compare (imagemagick) could not compare the Chinese screenshots: $differing" ;;
0) fail "the Chinese window looks the same with and without the recommended font" ;;
esac
echo "Screenshots: $out/{recommends,no-recommends}-main-window-{chinese,english}.png"
echo "Doctor:      $out/{recommends,no-recommends}-doctor-{chinese,english}.txt"
echo "Fonts:       $out/{recommends,no-recommends}-fonts.txt"
echo "PASS"
