# Helpers of the scripts that make fresh Debian 12 roots (debootstrap) and work in them: a work
# folder removed at exit (KEEP_ROOTS=1 keeps it), mounts undone at exit, apt's bookworm mirror,
# commands run in a root with a clean environment. Sourced by bash scripts run as root.
work=$(mktemp -d /tmp/fresh-debian.XXXXXX)
mounted=""
step() { echo "== $*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

mount_in() {
    local target=$1
    shift
    mount "$@" "$target" || fail "mounting $target"
    mounted="$target $mounted"
}
unmount_all() {
    local m
    for m in $mounted; do umount "$m" || umount -l "$m"; done
    mounted=""
}
cleanup() {
    unmount_all
    # Never remove a tree with the machine's /dev or /proc still mounted in it.
    if grep -q " $work/" /proc/self/mounts; then
        echo "$(basename "$0"): still mounted under $work; not removed" >&2
    elif [ "${KEEP_ROOTS:-}" = 1 ]; then
        echo "The roots: $work"
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The mirror of apt's bookworm source on this machine, one-line or deb822 format.
mirror() {
    {
        sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\([^ ]*\) bookworm .*/\2/p' \
            /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null
        awk 'BEGIN { RS = "" } /(^|\n)Suites:[^\n]*[ \t]bookworm([ \t\n]|$)/ && !/Enabled: *no/ {
            if (match($0, /URIs:[ \t]*[^ \t\n]+/)) { u = substr($0, RSTART, RLENGTH);
                sub(/URIs:[ \t]*/, "", u); print u } }' /etc/apt/sources.list.d/*.sources 2>/dev/null
    } | head -1
}

root_env=(env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
    DEBIAN_FRONTEND=noninteractive)
in_root() {
    local root=$1
    shift
    chroot "$root" "${root_env[@]}" "$@"
}

# A minimal bookworm root at $1, from the mirror apt uses here (or $MIRROR); its log in $2.
make_base_root() {
    local root=$1 log=$2 url
    command -v debootstrap >/dev/null || apt-get install -y debootstrap >/dev/null ||
        fail "installing debootstrap"
    url=${MIRROR:-$(mirror)}
    [ -n "$url" ] || fail "no bookworm mirror in /etc/apt/sources.list(.d); set MIRROR"
    step "debootstrap --variant=minbase bookworm from $url"
    debootstrap --variant=minbase bookworm "$root" "$url" >"$log" 2>&1 ||
        fail "debootstrap (see $log)"
    # No service starts inside the root.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod +x "$root/usr/sbin/policy-rc.d"
}

# The machine's /proc, /sys and /dev in the root, with a /dev/shm of its own, so that the
# program's named semaphores meet no other test's.
mount_system() {
    local root=$1
    mount_in "$root/proc" -t proc proc
    mount_in "$root/sys" -t sysfs sysfs
    mount_in "$root/dev" --bind /dev
    # What is mounted below it stays in the root, even where the machine's mounts are shared.
    mount --make-slave "$root/dev" || fail "mount --make-slave $root/dev"
    mount_in "$root/dev/shm" -t tmpfs shm
}
