#!/usr/bin/env bash
# Checks the X test launcher: the programs it starts (X server, window
# manager, test) never hold the machine-wide lock that serialises X tests,
# the test's exit status comes back, and the server and the window manager
# end with the test, also when the launcher is stopped halfway.
#   run-in-x11-check.sh WINDOW_MANAGER LOCK_FILE COMMAND...
# COMMAND runs the launcher (the last word), as the X tests run it.
set -u
wm=$1
lock=$2
shift 2
launcher=${!#}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAILED: $1" >&2; exit 1; }

# The launcher's children, as the test sees them: none may have the lock open.
"$@" --wm "$wm" bash -c '
    children=$(pgrep -P $PPID)
    echo $children >"$0"
    for p in $children; do
        ls -l /proc/$p/fd 2>/dev/null | grep -q "$1" && exit 1
    done
    exit 7' "$dir/started" "$lock"
status=$?
[ "$status" = 7 ] || fail "the launcher ended with $status, not the test's 7 (1: a child held the lock)"
[ "$(wc -w <"$dir/started")" -ge 3 ] || fail "no server and window manager beside the test: $(cat "$dir/started")"
for p in $(cat "$dir/started"); do
    kill -0 "$p" 2>/dev/null && fail "process $p outlived the test"
done

# Stopped while the test runs (as a test run's time-out does). Under the
# lock like every X test: two servers that start at once race for the same
# display, and a window manager then finds no server.
flock -o "$lock" "$launcher" --wm "$wm" sleep 60 &
holder=$!
stopped=""
# Once the test runs, the server and the window manager are up.
for _ in $(seq 900); do
    stopped=$(pgrep -P "$holder")
    [ -n "$stopped" ] && pgrep -f -P "$stopped" "^sleep 60$" >/dev/null && break
    sleep 0.1
done
[ -n "$stopped" ] || fail "the launcher did not start"
children=$(pgrep -P "$stopped")
[ "$(echo $children | wc -w)" -ge 3 ] || fail "the stopped launcher started no server, window manager and test"
kill -TERM "$stopped"
wait "$holder"
for p in $children; do
    kill -0 "$p" 2>/dev/null && fail "process $p outlived the stopped launcher"
done
echo "the launcher ends what it starts and lends nobody its lock"
