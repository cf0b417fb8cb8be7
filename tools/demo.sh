#!/usr/bin/env bash
# A demonstration of the program's main job on the current display (run.sh
# starts it under Xvfb when there is no screen): from the main menu a whole
# jump of the default preset, the jump log and the jump player, a picture of
# each step kept in the picture folder, named for its step:
#   00-main-menu, 01-drop-zone-menu, 02-count-down, 03-exit, 04-free-fall,
#   05-pull, 06-canopy-flight, 07-flare, 08-verdict, 09-jump-log,
#   10-trajectory
# The steps wait on the program's log; a step the jump does not have (a jump
# started under the canopy has no exit) is skipped and said so. It runs on a
# run tree of its own (the built program and data, a fresh configuration and
# profile), whose log it keeps beside the pictures, and ends the program as
# closing its window does. About two minutes.
#   tools/demo.sh <run tree> <picture folder>
set -u
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
run="$(cd "$1" && pwd)"
mkdir -p "$2"
pictures="$(cd "$2" && pwd)"
work="$(mktemp -d)"
. "$top/tests/e2e/common.sh"
. "$top/tests/e2e/fly.sh"

rm -f "$pictures"/*.png "$pictures"/demo.log
make_shipped_run_tree "$run" "$work/run"
cd "$work/run/bin"

# Keeps the picture of a step once the screen is still, or of a moving scene
# at once; says where it is.
picture() { # <name> [moving]
    if [ -n "${2:-}" ]; then
        import -window root "$pictures/$1.png"
    else
        capture_still "$pictures/$1.png" 10 dark || true
    fi
    echo "  $pictures/$1.png"
}

# Waits until the log holds the line <count> times.
wait_for_count() { # <text> <count> <seconds>
    local deadline=$((SECONDS + $3))
    until [ "$(grep -cF -- "$1" ../logs/dravonkel.log 2>/dev/null)" -ge "$2" ]; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

skipped() { # <name> <why>
    echo "  ($1: $2)"
}

jump_step() { # <step>
    case $1 in
    count-down) picture 02-count-down moving ;;
    exit) picture 03-exit moving ;;
    free-fall) picture 04-free-fall moving ;;
    pull) picture 05-pull moving ;;
    canopy-flight) picture 06-canopy-flight moving ;;
    flare) picture 07-flare moving ;;
    verdict) picture 08-verdict moving ;;
    esac
}

steps() {
    wait_for_log "Engine is started" 30 || { fail "the program did not start"; return; }
    sleep 1
    xdotool key space # past the splash screen
    wait_for_log "Entering Menu mode" 15 || { fail "no main menu"; return; }
    sleep 1
    picture 00-main-menu
    click_program_at 511 295 # Start
    wait_for_log "Displaying wndDropZone" 10 || { fail "no drop-zone menu"; return; }
    sleep 1
    picture 01-drop-zone-menu moving
    click_program_at 844 654 # Jump, with the first preset
    # The first jump of a profile shows the keys first.
    wait_for_log "Displaying wndHelp" 60 || { fail "no help before the first jump"; return; }
    sleep 1
    click_program_at 815 634 # Close
    fly_jump || return
    logged "HangingOutOfPlaneState" || skipped 03-exit "the jump started under the canopy"
    logged "CFreeFallState" || skipped 04-free-fall "no free fall in this jump"
    logged "Inflating canopy" || skipped 05-pull "no deployment in this jump"
    [ -e "$pictures/07-flare.png" ] || skipped 07-flare "the jumper was down before the flare"
    # After the verdict the jump player shows the path; the menu key opens
    # the jump log over it, whose button shows the path again.
    wait_for_count "Displaying wndStatistics" 1 20 || { fail "no jump player after the landing"; return; }
    sleep 2
    xdotool key Escape
    wait_for_count "Displaying wndStatistics" 2 10 || { fail "no jump log"; return; }
    sleep 1.5
    picture 09-jump-log moving
    click_program_at 287 643 # Show trajectories
    sleep 3
    picture 10-trajectory moving
}

./dravonkel 2>"$work/stderr.txt" &
pid=$!
echo "The program runs; pictures of the demonstration:"
steps

# The same orderly end as closing the window: the settings are written.
kill -TERM "$pid" 2>/dev/null
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -KILL "$pid" 2>/dev/null && fail "the program did not end"
wait "$pid" 2>/dev/null
cp ../logs/dravonkel.log "$pictures/demo.log" 2>/dev/null
cd /
rm -rf "$work"
[ $failures -eq 0 ] || echo "The demonstration stopped early; see $pictures/demo.log" >&2
echo "The demonstration has ended; its pictures are in $pictures"
exit $((failures != 0))
