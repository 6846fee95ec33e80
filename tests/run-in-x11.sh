#!/usr/bin/env bash
# Runs one test program in an X server of its own (Xvfb), under a window
# manager when one is named, and ends the server and the window manager with
# the program, however the program ends.
#   run-in-x11.sh [--wm NAME] PROGRAM [ARGUMENTS...]
# The exit status is the program's; 125 when the server or the window manager
# could not be started.
set -u

wm=""
if [ "${1:-}" = "--wm" ]; then
    wm=$2
    shift 2
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/dorv-x11.XXXXXX") || exit 125
server=""
manager=""
program=""
cleanup() {
    for p in $program $manager $server; do kill "$p" 2>/dev/null; done
    for p in $program $manager $server; do
        for _ in $(seq 50); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$p" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

fail() {
    echo "run-in-x11: $1" >&2
    for log in "$dir"/*.log; do [ -s "$log" ] && sed "s|^|  $(basename "$log"): |" "$log" >&2; done
    exit 125
}

# The server picks a free display itself and writes its number once it takes
# connections: no probing, so no race with servers started at the same time.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1600x1200x24 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
server=$!
for _ in $(seq 200); do
    [ -s "$dir/display" ] && break
    kill -0 "$server" 2>/dev/null || fail "the X server did not start"
    sleep 0.05
done
display=$(tr -d '[:space:]' <"$dir/display")
[ -n "$display" ] || fail "the X server gave no display"
export DISPLAY=":$display"

if [ -n "$wm" ]; then
    for attempt in 1 2 3; do
        "$wm" >"$dir/wm.log" 2>&1 &
        manager=$!
        # Ready once it has taken the screen: the root window then names it.
        for _ in $(seq 300); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
            kill -0 "$manager" 2>/dev/null || break
            sleep 0.05
        done
        kill -0 "$manager" 2>/dev/null && break
        # Now and then, on a busy machine, a window manager finds no server
        # on a display that has just started ("Couldn't connect"): it is
        # started once more.
        wait "$manager" 2>/dev/null
        manager=""
    done
    [ -n "$manager" ] || fail "$wm did not start"
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || fail "$wm did not take the screen"
fi

# In the background, so that a signal to this script ends the program at once
# instead of after it.
"$@" &
program=$!
wait "$program"
status=$?
program=""
exit "$status"
