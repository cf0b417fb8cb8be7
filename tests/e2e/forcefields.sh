#!/usr/bin/env bash
# The force-field edition end to end under a virtual screen, driven by xdotool:
#   forcefields.sh <run tree> <work folder> <artifact folder>
# Main menu, Start, the force-fields screen, Create with a new name: the
# editor opens on the new scene with its markers. A right click opens the
# create dialog, Create the edit dialog, OK adds the field. Escape opens the
# editor menu; "Save and jump" writes the scene and "LastEdit" and flies it
# with the force visualisation's particles and trails. Keeps editor.png,
# create-dialog.png and flight-with-trails.png, the log and the written scene
# files in the artifact folder. Needs a display (xvfb-run).
set -u
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
run="$1"
work="$2"
artifacts="$3"
. "$top/tests/e2e/common.sh"
log=../logs/dravonkel.log
scenes=../data/DovuvUvozeVozediza

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
rm -rf "$work" "$artifacts"
mkdir -p "$artifacts"
# The scenes' folder is copied: the program writes the new scene there.
make_run_tree "$run" "$work" DovuvUvozeVozediza DovuvUvozeVozediza
cd "$work/bin"

./dravonkel --StartState MainMenu 2>stderr.txt &
pid=$!
steps() {
    wait_for_log "Entering Menu mode" 30 || { fail "no main menu"; return; }
    sleep 1
    click_program_at 511 295 # Start a jump
    wait_for_log "Displaying wndForceField" 10 || { fail "Start did not lead to the force-fields screen"; return; }
    sleep 1

    # --- A new scene in the editor ---------------------------------------------
    click_program_at 398 584 # the new scene's name
    xdotool type --delay 60 "E2E field"
    click_program_at 647 585 # Create
    wait_for_log "Entering editor" 30 || { fail "Create did not open the editor"; return; }
    [ -s "$scenes/E2E_field.ForceFields" ] || fail "Create wrote no scene file"
    # The force visualisation's particles keep the picture moving: a moment for the first frames.
    sleep 3
    # A click on the field's centre selects it: its handles show, and the
    # console's lines say what it is and what to do.
    click_program_at 512 443
    sleep 1
    import -window root "$artifacts/editor.png"

    # --- A force field through the dialogs --------------------------------------
    # A right click on the field's area below its centre, which no marker owns
    # (a click on nothing at all changes nothing): the cursor comes there and
    # opens its dialog.
    click_program_at 512 570 3
    wait_for_log "Displaying wndCreateForceField" 10 || { fail "a right click did not open the create dialog"; return; }
    sleep 1
    import -window root "$artifacts/create-dialog.png"
    click_program_at 720 555 # Create
    wait_for_log "Displaying wndEditForceField" 10 || { fail "Create did not open the edit dialog"; return; }
    sleep 1
    click_program_at 855 665 # OK
    sleep 1

    # --- Save and jump ------------------------------------------------------------
    xdotool key Escape
    wait_for_log "Displaying wndEditorMenu" 10 || { fail "Escape did not open the editor menu"; return; }
    sleep 1
    click_program_at 512 373 # Save and jump
    wait_for_log "Exiting editor" 20 || { fail "Save and jump did not leave the editor"; return; }
    [ -s "$scenes/LastEdit.ForceFields" ] || fail "no LastEdit scene was written"
    wait_for_log "Displaying wndHelp" 30 || { fail "no help before the first jump"; return; }
    sleep 1
    click_program_at 815 634 # Close
    # The count-down, then the jumper waits at the scene's start.
    wait_for_log "Restored input mode: ExitPlane" 20 || { fail "the jump did not start"; return; }
    # Long enough for the particles to draw trails.
    sleep 4
    import -window root "$artifacts/flight-with-trails.png"
    xdotool key space
    sleep 0.5
    xdotool key space
    wait_for_log "CFreeFallState" 20 || { fail "no free fall"; return; }
    wait_for_log "Jump 1 is added to profile default" 60 || fail "the jump was not recorded"
}
steps
kill -0 $pid 2>/dev/null || fail "the program ended early"
kill -TERM $pid 2>/dev/null
wait_for_exit $pid 20
expect_code 0 $code "SIGTERM"
cp $log "$artifacts/forcefields.log"
cp "$scenes"/*.ForceFields "$artifacts/" 2>/dev/null

# The new scene keeps the template's field and the confirmed one.
new="$scenes/E2E_field.ForceFields"
if [ -s "$new" ]; then
    grep -q 'FullName="E2E field"' "$new" || fail "the new scene's full name is not kept"
    [ "$(grep -c "<Region>" "$new")" -eq 2 ] || fail "the new scene does not hold two force fields"
    ! grep -q "JustCreated" "$new" || fail "the confirmed field is still marked as just created"
fi
! grep -E " Error: " $log || fail "errors in the log"
grep -qE " Body_[0-9]+ is in [A-Za-z ]+$" $log || fail "no verdict line '<name> is in <type>'"
grep -q 'Name="Score"' ../profiles/default/default.profile 2>/dev/null || fail "the jump in the profile has no score"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed; pictures and logs in $artifacts" >&2
    exit 1
fi
echo "All checks passed; pictures and logs in $artifacts"
