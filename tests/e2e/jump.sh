#!/usr/bin/env bash
# A whole jump in the real program under a virtual screen, driven by xdotool:
#   jump.sh <run tree> <work folder> <artifact folder> <head-up display artifact folder> [edition]
# Main menu, Start, drop-zone menu, Jump with the first preset, the first
# jump's help (closed), the count-down, the jump as the edition starts it,
# the landing and its verdict (the jumper in view), the menu over the level,
# the main menu, Exit. The shipped edition's jump is the canopy-approach
# lesson: it starts under the canopy heading for the target, flies straight
# and flares at the right height, and its verdict must be a landing. An
# edition given (a run tree of its own) that starts in the aircraft goes out
# of the door, falls, pulls, and steers the canopy to the target. The jump is
# flown as tests/e2e/fly.sh flies it. The session is recorded with
# RecordEvents and played back with PlayEvents, each run on a fresh profile;
# both must fly the jump to its end and record it. Keeps a picture of each
# phase the recorded jump has (count-down.png, exit.png, free-fall.png,
# pull.png, canopy-flight.png, flare.png, verdict.png), both logs and
# profiles and the recording in the artifact folder. The altimeter must be on
# screen under canopy and in free fall, and under canopy the display names
# the controls the hands hold: the toggles ("brakes") of a start under the
# canopy, the rear risers after an opening. In the head-up display's folder:
# altimeter-canopy.png and canopy-controls.png of the shipped edition's
# jump; altimeter-free-fall.png, altimeter-canopy-from-aircraft.png and
# canopy-controls-from-aircraft.png of a jump from the aircraft.
# Needs a display (xvfb-run).
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$top/tests/e2e/common.sh"
hud="$4"
edition="${5:-}"
suffix=""
[ -n "$edition" ] && suffix="-from-aircraft"

. "$top/tests/e2e/fly.sh"

shot() { # <picture>
    import -window root "$1"
}

# The pictures kept of the flown jump.
jump_step() { # <step>
    shot "$artifacts/$1.png"
    case $1 in
    free-fall) cp "$artifacts/free-fall.png" "$hud/altimeter-free-fall.png" ;;
    canopy-flight) cp "$artifacts/canopy-flight.png" "$hud/altimeter-canopy$suffix.png" ;;
    verdict)
        # Landed across the wind, the canopy may collapse between the landing
        # camera and the jumper for a moment: two more pictures a fifth of a
        # second apart, before the verdict's two seconds are over on a machine
        # that is not starved, looked at after the jump (pick_verdict).
        sleep 0.2
        shot "$artifacts/verdict-later-1.png"
        sleep 0.2
        shot "$artifacts/verdict-later-2.png"
        ;;
    esac
}

# Keeps as verdict.png the first of the verdict's pictures that shows the
# jumper; none does: all are kept for the failure.
pick_verdict() {
    local picture
    for picture in "$artifacts/verdict.png" "$artifacts"/verdict-later-*.png; do
        [ -s "$picture" ] && [ "$(jumper_pixels "$picture")" -ge 300 ] || continue
        [ "$picture" = "$artifacts/verdict.png" ] || mv "$picture" "$artifacts/verdict.png"
        rm -f "$artifacts"/verdict-later-*.png
        return
    done
}

# Under canopy, before the hands leave the controls they hold at first: the
# display names them a frame after the opening. A slow machine may land
# first: then the landing says so.
jump_hands_on_risers() {
    local until=$((SECONDS + 5))
    while shot "$hud/canopy-controls$suffix.png" && ! any_hand_control_shown "$hud/canopy-controls$suffix.png"; do
        logged "Collision with HSpeed=" && { controls_landed=1; break; }
        [ $SECONDS -lt $until ] || break
        sleep 0.2
    done
}

# The lines both runs must log.
expect_jump_log() { # <log> <what>
    local line
    for line in "Using Mod: HUDMessage" "Using Mod: Physics" "Using Mod: Drop zone loader" "Drop zone is loaded" \
        "Using Mod: EventDistribution" "Using Mod: TrajectoryViewerMod" "Using Mod: Overlays" $door_lines \
        "CCanopyRideState" "Collision with HSpeed=" "Jump 1 is added to profile default" \
        "Done using Mod: Drop zone loader" "Engine is destroyed"; do
        grep -qF -- "$line" "$1" || fail "$2: no line '$line'"
    done
    grep -qE " Body_[0-9]+ is in [A-Za-z ]+$" "$1" || fail "$2: no verdict line '<name> is in <type>'"
}

# The profile holds the one jump with its landing and its trajectory file.
expect_jump_profile() { # <profile folder> <what>
    local profile="$1/default.profile"
    [ -s "$profile" ] || { fail "$2: no profile"; return; }
    [ "$(grep -c "<Jump " "$profile")" -eq 1 ] || fail "$2: not one jump in the profile"
    grep -q 'Name="Landing type"' "$profile" || fail "$2: no landing type in the profile"
    grep -q 'Name="Landing speed"' "$profile" || fail "$2: no landing speed in the profile"
    [ -s "$1/Jump_1.trajectory" ] || fail "$2: no trajectory file"
}

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
rm -rf "$work" "$artifacts"
mkdir -p "$artifacts" "$hud"
# The head-up display's folder is shared with the other jump's run.
rm -f "$hud/canopy-controls$suffix.png" "$hud/altimeter-canopy$suffix.png"
[ -n "$edition" ] && rm -f "$hud/altimeter-free-fall.png"
if [ -n "$edition" ]; then
    make_run_tree "$run" "$work" "$edition"
else
    make_shipped_run_tree "$run" "$work"
fi
cd "$work/bin"
# The lines of a jump from the aircraft's door, once it is known to be one.
door_lines=""

# --- The jump, recorded -------------------------------------------------------
recording_start=$SECONDS
./dravonkel --RecordEvents ../jump-session.xml 2>record.err &
pid=$!
steps() {
    wait_for_log "Engine is started" 30 || { fail "record: the engine did not start"; return; }
    sleep 1
    xdotool key space # skips the splash screen
    wait_for_log "Entering Menu mode" 15 || { fail "record: no main menu"; return; }
    sleep 1
    click_program_at 511 295 # Start a jump
    wait_for_log "Displaying wndDropZone" 10 || { fail "record: no drop-zone menu"; return; }
    sleep 1
    click_program_at 844 654 # Jump, with the first preset
    wait_for_log "Displaying wndHelp" 60 || { fail "record: no help before the first jump"; return; }
    sleep 1
    click_program_at 815 634 # Close
    fly_jump || { fail "record: the jump was not flown"; return; }
    wait_for_log "Jump 1 is added to profile" 20 || { fail "record: the jump was not recorded"; return; }
    # Played back by the clock, a jump on a busier machine can land some
    # seconds later: the keys after the landing wait for it.
    sleep 8
    # The menu over a landed jump is its jump log.
    xdotool key Escape
    wait_for_log "Displaying wndStatistics" 10 || { fail "record: no menu over the level"; return; }
    sleep 1
    shot "$artifacts/jump-log.png"
    click_program_at 820 644 # Change DZ
    wait_for_log "Done using Mod: HUDMessage" 20 || { fail "record: the level was not left"; return; }
    sleep 1
    click_program_at 179 654 # Back to the main menu
    sleep 1
    # Checked before Exit: after it the program may be gone at once.
    kill -0 $pid 2>/dev/null || { fail "record: the program ended early"; return; }
    click_program_at 511 525 # Exit
}
steps
wait_for_exit $pid 20
expect_code 0 $code "record"
recording_seconds=$((SECONDS - recording_start))
cp $log "$artifacts/record.log"
cp ../jump-session.xml "$artifacts/jump-session.xml" 2>/dev/null || fail "record: no recording written"
mkdir -p "$artifacts/record-profile" && cp -r ../profiles/default/. "$artifacts/record-profile/"
if grep -qF "HangingOutOfPlaneState" "$artifacts/record.log"; then
    door_lines="HangingOutOfPlaneState CFreeFallState Inflating"
    held=rear
else
    # Under the canopy from the start: the hands on the toggles.
    held=brakes
    grep -qF "Using Mod: EventCopy" "$artifacts/record.log" || fail "record: one key does not drive both hands"
    grep -qE " Body_[0-9]+ is in (StandUp|Running|PLF) Landing$" "$artifacts/record.log" ||
        fail "record: the lesson's flare did not land: $(grep -E " is in " "$artifacts/record.log" | sed 's/^.* is in //')"
fi
[ -n "$edition" ] && [ -z "$door_lines" ] && fail "record: $edition did not start in the aircraft"
[ -z "$edition" ] && [ -n "$door_lines" ] && fail "record: the shipped edition did not start under the canopy"
expect_jump_log "$artifacts/record.log" "record"
expect_jump_profile ../profiles/default "record"
# Checked after the jump: the jump's keys must not wait for the checks.
for step in count-down $door_lines canopy-flight verdict; do
    case $step in
    HangingOutOfPlaneState) step=exit ;;
    CFreeFallState) step=free-fall ;;
    Inflating) step=pull ;;
    esac
    [ -s "$artifacts/$step.png" ] || fail "record: no picture of the $step"
done
[ -n "$door_lines" ] && expect_altimeter_dial "$hud/altimeter-free-fall.png" "free fall"
expect_altimeter_dial "$hud/altimeter-canopy$suffix.png" "canopy flight"
if [ -n "${controls_landed:-}" ]; then
    echo "The jump landed before the display showed the hands' controls: not checked" >&2
else
    expect_hand_controls "$hud/canopy-controls$suffix.png" $held "canopy flight"
fi
expect_level_view "$artifacts/canopy-flight.png" "record: canopy flight"
expect_jumper "$artifacts/canopy-flight.png" "record: canopy flight"
pick_verdict
expect_jumper "$artifacts/verdict.png" "record: the verdict"

# --- The same jump played back on a fresh profile -------------------------------
rm -rf ../logs/* ../profiles/* ../conf/settings.xml
./dravonkel --PlayEvents ../jump-session.xml --DisableInputs 2>replay.err &
pid=$!
# The playback takes as long as the recorded session; a slow machine took its time then too.
wait_for_exit $pid $((recording_seconds + 60))
expect_code 0 $code "replay"
cp $log "$artifacts/replay.log"
mkdir -p "$artifacts/replay-profile" && cp -r ../profiles/default/. "$artifacts/replay-profile/"
grep -q "CSelfTester: Playing events" "$artifacts/replay.log" || fail "replay: not played"
expect_jump_log "$artifacts/replay.log" "replay"
expect_jump_profile ../profiles/default "replay"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed; pictures and logs in $artifacts" >&2
    exit 1
fi
echo "All checks passed; pictures and logs in $artifacts"
