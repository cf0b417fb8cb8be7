#!/usr/bin/env bash
# A short demonstration of the program on the current display (run.sh starts
# it under Xvfb when there is no screen): the splash screen, the main menu and
# the help screen, each kept as a picture, then an orderly end. Ends within a
# minute whatever happens.
#   tools/demo.sh <run tree> <picture folder>
set -u
run="$1"
pictures="$2"
log=../logs/demo.log

mkdir -p "$pictures" "$run/logs"
rm -f "$pictures"/*.png
cd "$run/bin"
rm -f "$log"

# Keeps a picture of the screen once two captures a moment apart are alike.
capture() { # <name> <seconds>
    local deadline=$((SECONDS + $2)) previous="$pictures/.previous.png"
    import -window root "$previous"
    while [ $SECONDS -lt $deadline ]; do
        sleep 0.3
        import -window root "$pictures/$1.png"
        compare -metric AE "$previous" "$pictures/$1.png" null: 2>/dev/null && break
        cp "$pictures/$1.png" "$previous"
    done
    rm -f "$previous"
    echo "  $pictures/$1.png"
}

wait_for_log() { # <text> <seconds>
    local deadline=$((SECONDS + $2))
    until grep -qF -- "$1" "$log" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] && kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
}

./dravonkel --LogFile "$log" &
pid=$!
status=0
echo "The program runs (log: $run/logs/demo.log); pictures:"
if wait_for_log "Engine is started" 30; then
    sleep 1
    capture 1-splash-screen 10
    xdotool key space
    wait_for_log "Entering Menu mode" 10 && sleep 1 && capture 2-main-menu 10
    # The program's pointer starts in the middle of the window and follows the
    # mouse's relative motion: down onto Help.
    xdotool mousemove_relative -- 0 49 click 1
    wait_for_log "Displaying wndHelp" 10 && sleep 0.5 && capture 3-help 10
else
    echo "The program did not start; see $run/logs/demo.log" >&2
    status=1
fi

# The same orderly end as closing the window: the settings are written.
kill -TERM "$pid" 2>/dev/null
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -KILL "$pid" 2>/dev/null && status=1
wait "$pid" 2>/dev/null
echo "The demonstration has ended; its pictures are in $pictures"
exit $status
