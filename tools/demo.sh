#!/usr/bin/env bash
# A demonstration of the program's main job on the current display (run.sh
# starts it under Xvfb when there is no screen), a picture of each step kept
# in the picture folder, named for its step. First the default edition's
# lesson from the main menu: the default preset's jump starts under the open
# canopy heading for the target, flies straight into the wind and flares at
# the right height; then its jump log and the jump player:
#   00-main-menu, 01-drop-zone-menu, 02-count-down, 03-canopy-flight,
#   04-flare, 05-verdict, 06-jump-log, 07-trajectory
# Then the same preset's whole jump in an edition that starts in the aircraft
# (Merrowick Personal): out of the door, free fall, the pull, the canopy
# steered toward the target, the landing:
#   08-exit, 09-free-fall, 10-pull, 11-canopy-from-aircraft, 12-verdict-from-aircraft
# The steps wait on the program's log; a step a jump does not have is skipped
# and said so. Each jump runs on a run tree of its own (the built program and
# data, a fresh configuration and profile), whose log it keeps beside the
# pictures (demo.log, demo-aircraft.log), and ends the program as closing its
# window does. About three minutes.
#   tools/demo.sh <run tree> <picture folder>
set -u
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
run="$(cd "$1" && pwd)"
mkdir -p "$2"
pictures="$(cd "$2" && pwd)"
work="$(mktemp -d)"
. "$top/tests/e2e/common.sh" "$run" "$work" "$pictures"
. "$top/tests/e2e/fly.sh"

rm -f "$pictures"/*.png "$pictures"/demo*.log

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

# The pictures of the lesson's steps, then of the jump from the aircraft.
part=lesson
jump_step() { # <step>
    case $part:$1 in
    lesson:count-down) picture 02-count-down moving ;;
    lesson:canopy-flight) picture 03-canopy-flight moving ;;
    lesson:flare) picture 04-flare moving ;;
    lesson:verdict) picture 05-verdict moving ;;
    aircraft:exit) picture 08-exit moving ;;
    aircraft:free-fall) picture 09-free-fall moving ;;
    aircraft:pull) picture 10-pull moving ;;
    aircraft:canopy-flight) picture 11-canopy-from-aircraft moving ;;
    aircraft:verdict) picture 12-verdict-from-aircraft moving ;;
    esac
}

# From the main menu to the verdict of the first preset's jump.
menu_to_jump() { # <first picture's number>
    wait_for_log "Engine is started" 30 || { fail "the program did not start"; return 1; }
    sleep 1
    xdotool key space # past the splash screen
    wait_for_log "Entering Menu mode" 15 || { fail "no main menu"; return 1; }
    sleep 1
    [ -n "$1" ] && picture "$1-main-menu"
    click_program_at 511 295 # Start
    wait_for_log "Displaying wndDropZone" 10 || { fail "no drop-zone menu"; return 1; }
    sleep 1
    [ -n "$1" ] && picture "$(printf %02d $((10#$1 + 1)))-drop-zone-menu" moving
    click_program_at 844 654 # Jump, with the first preset
    # The first jump of a profile shows the keys first.
    wait_for_log "Displaying wndHelp" 60 || { fail "no help before the first jump"; return 1; }
    sleep 1
    click_program_at 815 634 # Close
    fly_jump
}

lesson() {
    menu_to_jump 00 || return
    logged "HangingOutOfPlaneState" && fail "the lesson did not start under the canopy"
    grep -E " is in " ../logs/dravonkel.log | sed 's/^.* is in /  The lesson'"'"'s verdict: /'
    [ -e "$pictures/04-flare.png" ] || skipped 04-flare "the jumper was down before the flare"
    # After the verdict the jump player shows the path; the menu key opens
    # the jump log over it, whose button shows the path again.
    wait_for_count "Displaying wndStatistics" 1 20 || { fail "no jump player after the landing"; return; }
    sleep 2
    xdotool key Escape
    wait_for_count "Displaying wndStatistics" 2 10 || { fail "no jump log"; return; }
    sleep 1.5
    picture 06-jump-log moving
    click_program_at 287 643 # Show trajectories
    sleep 3
    picture 07-trajectory moving
}

from_aircraft() {
    menu_to_jump "" || return
    logged "HangingOutOfPlaneState" || skipped 08-exit "the jump started under the canopy"
    logged "CFreeFallState" || skipped 09-free-fall "no free fall in this jump"
    logged "Inflating canopy" || skipped 10-pull "no deployment in this jump"
    grep -E " is in " ../logs/dravonkel.log | sed 's/^.* is in /  The verdict of the jump from the aircraft: /'
}

# Runs a part of the demonstration on the program in a run tree, then ends
# the program as closing its window does (the settings are written) and
# keeps its log.
run_part() { # <part> <log name>
    cd "$work/$1/bin"
    ./dravonkel 2>"$work/$1-stderr.txt" &
    pid=$!
    "$1"
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null && fail "the program did not end"
    wait "$pid" 2>/dev/null
    cp ../logs/dravonkel.log "$pictures/$2" 2>/dev/null
}

echo "The program runs; pictures of the demonstration:"
make_shipped_run_tree "$run" "$work/lesson"
run_part lesson demo.log
part=aircraft
echo "A whole jump from the aircraft, in the Merrowick Personal edition:"
make_run_tree "$run" "$work/from_aircraft" MerrowickPersonal
[ $failures -eq 0 ] && run_part from_aircraft demo-aircraft.log
cd /
rm -rf "$work"
[ $failures -eq 0 ] || echo "The demonstration stopped early; see $pictures/demo.log" >&2
echo "The demonstration has ended; its pictures are in $pictures"
exit $((failures != 0))
