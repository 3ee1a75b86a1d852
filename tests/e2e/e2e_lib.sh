# Shared steps of the end-to-end scripts: a private display, a private user, the virtual keyboard.
# Sourced; BIN is the program folder.

e2e_pids=""
e2e_work=$(mktemp -d)

e2e_cleanup() {
    for pid in $e2e_pids; do
        kill "$pid" 2>/dev/null
    done
    # Until they are gone (at most 5 s each): an X server still shutting down holds its display
    # number, and a script started next must not find it half there.
    for pid in $e2e_pids; do
        e2e_wait 5 e2e_ended "$pid" || kill -KILL "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$e2e_work"
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $*" >&2
    # What the program said, so that a failure on a machine far away can be understood.
    if [ -n "${e2e_log:-}" ] && [ -s "$e2e_log" ]; then
        echo "-- the program's output ($e2e_log):" >&2
        tail -n 40 "$e2e_log" >&2
    fi
    exit 1
}

# A fresh user: its own home, settings, runtime folder (lock and socket) and keyboard memory.
e2e_fresh_user() {
    local home="$e2e_work/$1"
    mkdir -p "$home/home" "$home/config" "$home/run" "$home/tmp" "$home/docs"
    chmod 700 "$home/run"
    export HOME="$home/home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run"
    export TMPDIR="$home/tmp" TARVENOR_USER_DIR="$home/docs" TARVENOR_SIM_DIR="$home/sim"
    export TARVENOR_HIDSERV="$BIN/libHidServSim.so"
    # The test runner may ask for offscreen windows; these run on the private display.
    unset TARVENOR_SIM_UNPLUGGED TARVENOR_SIM_LATENCY_MS QT_QPA_PLATFORM
}

# Xvfb on a free display. With "tray", a notification area on it; with
# "second-screen", a small second screen (:N.1) beside the first; with "large", a first screen
# that holds the main window at 200 % (as it is whenever QT_SCALE_FACTOR asks for more than 100 %).
e2e_display() {
    local n tray="" screens=(-screen 0 1600x1000x24) option
    [ "${QT_SCALE_FACTOR:-1}" = 1 ] || screens[2]=2600x1600x24
    for option in "$@"; do
        case $option in
        tray) tray=1 ;;
        second-screen) screens+=(-screen 1 640x480x24) ;;
        large) screens[2]=2600x1600x24 ;;
        *) e2e_fail "e2e_display: unknown option $option" ;;
        esac
    done
    # Each script tries displays from its own spread-out range and the server takes the number
    # only if it can lock it, so two scripts at once never share one, and a number another
    # script's server has just given up is not the first one tried.
    local named="$e2e_work/display" server attempt
    for attempt in 1 2 3 4 5 6 7 8; do
        n=$((100 + (RANDOM * 32768 + RANDOM + attempt) % 5000))
        rm -f "$named"
        # -noreset: a server whose last client leaves resets, refusing whoever connects meanwhile;
        # the scripts start and end clients one after the other.
        Xvfb ":$n" -displayfd 3 "${screens[@]}" -nolisten tcp -noreset 3>"$named" >/dev/null 2>&1 &
        server=$!
        e2e_wait 10 e2e_display_ready "$named" "$server" || e2e_fail "Xvfb did not start"
        [ -s "$named" ] && break
        wait "$server" 2>/dev/null
    done
    [ -s "$named" ] || e2e_fail "Xvfb found no free display"
    e2e_pids="$e2e_pids $server"
    export DISPLAY=":$n"
    e2e_wait 10 xdotool getdisplaygeometry || e2e_fail "no display :$n"
    if [ -n "$tray" ]; then
        trayer --edge bottom --align right --width 10 --height 32 >/dev/null 2>&1 &
        e2e_pids="$e2e_pids $!"
        sleep 0.5
    fi
}

# Process PID has ended: gone, or a child of this script not yet waited for.
e2e_ended() {
    local state
    state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)
    [ -n "$state" ] || return 0
    [ "$state" = Z ]
}

# The server named its display in FILE, or process PID ended (its display was taken).
e2e_display_ready() {
    [ -s "$1" ] || ! kill -0 "$2" 2>/dev/null
}

# Runs a command every 50 ms until it succeeds or SECONDS pass.
e2e_wait() {
    local limit=$(($(date +%s%N) + $1 * 1000000000))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$limit" ] || return 1
        sleep 0.05
    done
}

e2e_window_shown() {
    [ -n "$(xdotool search --all --onlyvisible --pid "$1" --name . 2>/dev/null)" ]
}

e2e_window_hidden() {
    ! e2e_window_shown "$1"
}

# Starts the program in the background; its id in e2e_pid, its output in $e2e_work/$1.log.
e2e_start() {
    local log="$e2e_work/$1.log"
    shift
    e2e_log=$log
    "$BIN/tarvenor" "$@" >"$log" 2>&1 &
    e2e_pid=$!
    e2e_pids="$e2e_pids $e2e_pid"
}

# The first visible window of process PID: the program's main window.
e2e_main_window() {
    xdotool search --all --onlyvisible --pid "$1" --name . | head -1
}

# e2e_start, then the wait for the main window; its id in e2e_window.
e2e_start_shown() {
    e2e_start "$@"
    e2e_wait 10 e2e_window_shown "$e2e_pid" || e2e_fail "window not shown"
    e2e_window=$(e2e_main_window "$e2e_pid")
}

e2e_exited() {
    ! kill -0 "$1" 2>/dev/null
}

# Milliseconds since the epoch.
e2e_now() {
    echo $(($(date +%s%N) / 1000000))
}

# Nothing of a run left behind: lock file, socket and the user's named semaphores.
e2e_nothing_left() {
    # (The keyboard's advisory lock file stays: it is only ever locked by a live process.)
    for left in "Brennic RGB" "Brennic RGB.lock"; do
        [ ! -e "$XDG_RUNTIME_DIR/$left" ] || e2e_fail "left in the runtime folder: $left"
    done
    if ls /dev/shm/sem.Tarvenor_Event_Main_*".$(id -u)" >/dev/null 2>&1; then
        e2e_fail "named semaphores left in /dev/shm"
    fi
}

# COUNT bytes of a keyboard memory file from OFFSET, as lower-case hex separated by spaces.
memory_hex() {
    od -An -v -tx1 -j "$2" -N "$3" "$TARVENOR_SIM_DIR/$1" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'
}

memory_hex_is() {
    [ "$(memory_hex "$1" "$2" "$3")" = "$4" ]
}

# The position (0..125) whose factory code is CODE ("02 02 04").
position_of() {
    local line
    line=$(od -An -v -tx1 -w3 "$TARVENOR_SIM_DIR/default_matrix.bin" | grep -n "^ $1\$" |
        cut -d: -f1)
    [ -n "$line" ] || e2e_fail "no $1 in the factory matrix"
    echo $((line - 1))
}

# The centre of a control of a window, by its key in the window's skin file, in screen
# coordinates: "X Y". Fails (with the reason on standard error) when the skin has no such key.
# The skin's rectangles are in the window's own pixels: with QT_SCALE_FACTOR set, the screen's
# are that many times as many.
e2e_control_centre() {
    local window=$1 skin=$2 key=$3 rect X Y
    rect=$(grep -i "^$key=" "$BIN/Skins/$skin" | cut -d= -f2 | tr -d '\r')
    [ -n "$rect" ] || e2e_fail "no $key in $skin"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$rect" | awk -F, -v X="$X" -v Y="$Y" -v scale="${QT_SCALE_FACTOR:-1}" \
        '{ printf "%d %d\n", X + ($1 + $3 / 2) * scale, Y + ($2 + $4 / 2) * scale }'
}

# Clicks a control of a window by its key in the window's skin file.
e2e_click_control() {
    local centre
    centre=$(e2e_control_centre "$1" "$2" "$3") || exit 1
    # shellcheck disable=SC2086 # "X Y"
    xdotool mousemove --sync $centre click 1
}

# The windows PID shows, one id per line.
e2e_windows() {
    xdotool search --all --onlyvisible --pid "$1" 2>/dev/null
}

# The first window PID shows that is not among BEFORE (from e2e_windows); fails while none is.
e2e_new_window() {
    local window
    for window in $(e2e_windows "$1"); do
        if ! echo "$2" | grep -qx "$window"; then
            echo "$window"
            return 0
        fi
    done
    return 1
}

# The program's newest visible window other than the main window, at least 200 pixels wide
# (a menu, a dialog; not a tooltip or an indicator).
e2e_newest_window() {
    local window WIDTH
    for window in $(xdotool search --all --onlyvisible --pid "$1" | grep -v "^$2\$" | tac); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        if [ "$WIDTH" -ge 200 ]; then
            echo "$window"
            return
        fi
    done
}

# Saves a picture of WINDOW to FILE, unless FILE is empty: the pointer moved off it first, so that
# no control shows its hover face, then a moment for the window to repaint.
e2e_screenshot() {
    local file=$1 window=$2 X Y WIDTH HEIGHT SCREEN
    [ -n "$file" ] || return 0
    xdotool mousemove 0 0
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$file" ||
        e2e_fail "no screenshot"
    echo "screenshot: $file"
}

# The assignment dialog of the program $program with its main window $main.
dialog_shown() {
    [ -n "$(e2e_newest_window "$program" "$main")" ]
}

# Opens the dialog for a key of the drawing; its window id in $dialog.
open_dialog_for() {
    e2e_click_control "$main" Main.ini "$1"
    e2e_wait 5 dialog_shown || e2e_fail "no dialog for $1"
    dialog=$(e2e_newest_window "$program" "$main")
}

dialog_closed() {
    ! xdotool getwindowgeometry "$dialog" >/dev/null 2>&1 ||
        [ -z "$(xdotool search --all --onlyvisible --pid "$program" | grep "^$dialog\$")" ]
}

# After a program has ended: a new start works, /Kill ends it, and nothing of it is left.
e2e_new_start_works() {
    echo "-- a new start right after works and ends by /Kill"
    e2e_start_shown again
    local again=$e2e_pid
    "$BIN/tarvenor" /kill || e2e_fail "/kill exit $?"
    e2e_wait 5 e2e_exited "$again" || e2e_fail "/kill did not end the new start"
    e2e_nothing_left
}

# The virtual keyboard's control tool; a failure ends the test.
simctl() {
    "$BIN/tarvenor-simctl" "$@" >/dev/null || e2e_fail "tarvenor-simctl $*"
}

# Starts the program with its window, gives A another key in the assignment dialog and sets the
# keyboard's answer delay to MS; Apply is then one click away. The process in $program.
start_with_change() {
    e2e_start_shown "$1"
    program=$e2e_pid
    main=$e2e_window
    e2e_wait 10 test -e "$TARVENOR_USER_DIR/Tarvenor_R4X/\$Profile0" || e2e_fail "no mirror"
    open_dialog_for KEY_01E
    xdotool key b
    e2e_click_control "$dialog" Composite.ini CONTROL_OK
    e2e_wait 5 dialog_closed || e2e_fail "dialog not closed by OK"
    simctl latency "$2"
    : >"$TARVENOR_SIM_TRAFFIC"
}

# The command byte (two hex digits) of the last request in the traffic file FILE.
e2e_last_request() {
    grep '^>' "$1" | tail -n 1 | cut -c9-10
}

# Whether the traffic file FILE holds a request with command byte CODE (two hex digits).
e2e_request_sent() {
    grep -qE "^> .{6}$2" "$1"
}

# The number of requests with command byte CODE in the traffic file FILE.
e2e_request_count() {
    grep -cE "^> .{6}$2" "$1"
}

# Sends SIGNAL (TERM, INT, ...) to PID, a child of this shell, once the traffic file FILE shows a
# request with command byte CODE; process ENDING (PID unless given, a child too) must then end
# within 3 s, with exit code STATUS.
e2e_signal_during() {
    local signal=$1 pid=$2 file=$3 code=$4 status=$5 ending=${6:-$2} before ended
    e2e_wait 20 e2e_request_sent "$file" "$code" || e2e_fail "no request $code in $file"
    before=$(e2e_now)
    kill -s "$signal" "$pid"
    e2e_wait 3 e2e_exited "$ending" || e2e_fail "still running 3 s after SIG$signal"
    echo "   ended $(($(e2e_now) - before)) ms after SIG$signal"
    wait "$ending"
    ended=$?
    [ "$ended" -eq "$status" ] || e2e_fail "exit code $ended after SIG$signal, not $status"
}

# --- profiles by application: the scripts define `focus NAME` and `in_front` (what the desktop
# has in front, for a failure), and start the windows alpha, beta.exe and gamma with the rules
# alpha 2, Beta.exe 3, default 1.

# The keyboard's active profile (1..3): byte 10 of its parameter block, plus one.
active_profile() {
    echo $(($(od -An -tu1 -j 10 -N1 "$TARVENOR_SIM_DIR/parameters.bin") + 1))
}

active_profile_is() {
    [ "$(active_profile)" = "$1" ]
}

# How many parameter-block writes (command 4) the keyboard has been sent.
parameter_writes() {
    grep -c '^> .\{6\}04' "$TARVENOR_SIM_TRAFFIC" || true
}

# The processor time of process PID so far, in clock ticks (user + system).
cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$1/stat"
}

profile_not_followed() {
    e2e_fail "$1: profile $(active_profile), in front: $(in_front); the program's tooltip state \
and requests: $(tail -3 "$e2e_log" 2>/dev/null | tr '\n' ' ') $(tail -4 "$TARVENOR_SIM_TRAFFIC" | tr '\n' ' ')"
}

# Each window gets its rule's profile, any other the default; five quick focus changes write one
# switch, once the focus rests.
e2e_rules_followed() {
    echo "-- each application's rule, and the default for any other"
    focus alpha
    e2e_wait 8 active_profile_is 2 || profile_not_followed alpha
    focus beta.exe
    e2e_wait 8 active_profile_is 3 || profile_not_followed beta.exe
    focus gamma
    e2e_wait 8 active_profile_is 1 || profile_not_followed gamma

    echo "-- quick focus changes write one switch, once the focus rests"
    local attempt before name writes started took slowest
    for attempt in 1 2 3; do
        sleep 4 # past the minimum interval since the last switch
        before=$(parameter_writes)
        slowest=0
        for name in alpha beta.exe gamma alpha beta.exe; do
            started=$(e2e_now)
            focus "$name"
            sleep 0.15
            took=$(($(e2e_now) - started))
            [ "$took" -le "$slowest" ] || slowest=$took
        done
        e2e_wait 8 active_profile_is 3 ||
            e2e_fail "after the quick changes: profile $(active_profile), in front: $(in_front)"
        sleep 2
        writes=$(($(parameter_writes) - before))
        # A focus change that takes near the program's rest of 1 s (a loaded machine) lets the
        # focus rest between changes: that was no quick succession, so it is tried again.
        if [ "$slowest" -lt 800 ]; then
            [ "$writes" = 1 ] || e2e_fail "$writes parameter writes for one resting focus"
            return
        fi
        echo "   attempt $attempt: a focus change took $slowest ms, too slow to count as quick"
    done
    e2e_fail "no five focus changes within 800 ms each in three attempts"
}

# Process PID uses no processor time over 10 s.
e2e_idle() {
    echo "-- idle: no processor time while the focus stays"
    local before after
    # Work still finishing from the step before (a loaded machine runs it late) is not idling.
    before=$(cpu_ticks "$1")
    for _ in $(seq 1 10); do
        sleep 1
        after=$(cpu_ticks "$1")
        [ "$after" != "$before" ] || break
        before=$after
    done
    sleep 10
    after=$(cpu_ticks "$1")
    echo "processor ticks over 10 s: $((after - before))"
    [ "$after" = "$before" ] || e2e_fail "$((after - before)) ticks used while idle"
}
