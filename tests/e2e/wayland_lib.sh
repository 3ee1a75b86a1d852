# Shared steps of the end-to-end scripts under a real Wayland compositor: headless sway, with
# swaybar as the StatusNotifierItem host, in a session bus of its own, under an unprivileged user
# (sway refuses root). Sourced first; the scripts take PROGRAM_FOLDER HELPER [SHOT_FOLDER].

# Outside: checks the tools and runs SCRIPT again as nobody (or as the user running it) inside a
# session bus, with "--inside" before its arguments, and exits with its status; 77 where sway is
# missing. Inside: returns at once.
wayland_enter() {
    local script=$1
    shift
    [ "${1:-}" != --inside ] || return 0
    if ! command -v sway >/dev/null; then
        echo "SKIP: sway is not installed, no test under Wayland (apt-get install sway grim)"
        exit 77
    fi
    for tool in swaybar grim swaymsg dbus-run-session dbus-send jq setpriv; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing" >&2 && exit 1; }
    done
    if [ "${3:-}" ]; then
        mkdir -p "$3" && chmod 1777 "$3"
    fi
    if [ "$(id -u)" -ne 0 ]; then
        exec dbus-run-session -- "$script" --inside "$@"
    fi
    # The test runs as nobody, from copies when nobody cannot reach the build (a checkout in
    # /root, say).
    local bin=$1 helper=$2 copy="" status here
    here=$(dirname "$script")
    if ! wayland_as_nobody test -r "$script" -a -x "$bin/tarvenor" -a -x "$helper"; then
        copy=$(mktemp -d)
        chmod 755 "$copy"
        mkdir "$copy/bin" &&
            cp -r "$bin/tarvenor" "$bin/tarvenor-cli" "$bin"/lib*.so "$bin/Skins" "$bin/Help" \
                "$copy/bin/" &&
            cp "$script" "$here/e2e_lib.sh" "$here/wayland_lib.sh" "$helper" "$copy/" ||
            { echo "FAIL: cannot copy the program for nobody" >&2 && exit 1; }
        script="$copy/$(basename "$script")" bin="$copy/bin" helper="$copy/$(basename "$helper")"
    fi
    wayland_as_nobody dbus-run-session -- "$script" --inside "$bin" "$helper" "${3:-}"
    status=$?
    [ -z "$copy" ] || rm -rf "$copy"
    exit $status
}

wayland_as_nobody() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
}

# The first file matching a pattern; fails when none does.
first_match() {
    local files
    files=$(compgen -G "$1") || return 1
    echo "${files%%$'\n'*}"
}

sway_socket() {
    first_match "$XDG_RUNTIME_DIR/sway-ipc.*.sock"
}

# Headless sway with a bar that hosts tray icons; SWAYSOCK, WAYLAND_DISPLAY, screen_width and
# screen_height set. Needs e2e_lib.sh and a fresh user.
wayland_start_sway() {
    local config="$e2e_work/sway.conf"
    cat >"$config" <<CONFIG
output HEADLESS-1 resolution 1600x1000 position 0 0
default_border none
default_floating_border none
focus_follows_mouse no
bar {
    id tray
    position top
    tray_output *
}
CONFIG
    echo "== headless sway"
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$config" >"$e2e_work/sway.log" 2>&1 &
    e2e_pids="$e2e_pids $!"
    e2e_wait 15 sway_socket || { cat "$e2e_work/sway.log" >&2 && e2e_fail "sway did not start"; }
    SWAYSOCK=$(sway_socket)
    WAYLAND_DISPLAY=$(basename "$(first_match "$XDG_RUNTIME_DIR/wayland-[0-9]")")
    export SWAYSOCK WAYLAND_DISPLAY
    read -r screen_width screen_height < <(swaymsg -t get_outputs |
        jq -r '.[0].rect | "\(.x + .width) \(.y + .height)"')
}

watcher_property() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1"
}

host_registered() {
    watcher_property IsStatusNotifierHostRegistered 2>/dev/null | grep -q "boolean true"
}
