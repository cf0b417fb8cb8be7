#!/usr/bin/env bash
# A scene whose force functions try to crash, freeze or exhaust the program,
# flown in the real program under a virtual screen, driven by xdotool:
#   hostile.sh <run tree> <work folder> <artifact folder>
# The scene (scenes/Hostile.ForceFields) is the only one of the force-field
# edition, and the program starts straight into its jump (--StartState
# GameMode). Every hostile field is switched off with one log line naming it
# and why, the sound field keeps working, the jumper falls to the verdict
# among the particles' trails, the jump is recorded, and SIGTERM ends the
# program as usual. Keeps the picture of the flight (hostile-flight.png) and
# the log (hostile.log) in the artifact folder.
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$top/tests/e2e/common.sh"

# Each hostile field's name and words of the reason it is switched off (one
# of several, split by "|": a machine too slow to fill 16 MB within the
# frame's budget stops the memory filler for its time).
fields=(
    "Globals that fail|the table of globals keeps no metatable"
    "Lookups that fail|the table of globals keeps no metatable"
    "Endless finalizer|finalizers (__gc) are not allowed"
    "Endless finalizer of a vector|'__finalize' cannot be set"
    "Backtracking|string.find is not available"
    "Huge text|string.rep: the text would be longer than"
    "Collector stopped|only \"collect\" and \"count\" are allowed"
    "Memory kept|it needs more than 16 MB of memory|in one frame"
    "Too long a loop|in one frame"
    "Endless loop|script stopped"
)

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
rm -rf "$work"
rm -f "$artifacts"/hostile-flight.png "$artifacts"/hostile.log
mkdir -p "$artifacts"
make_run_tree "$run" "$work" DovuvUvozeVozediza DovuvUvozeVozediza
rm -f "$work/data/DovuvUvozeVozediza/"*.ForceFields
cp "$top/tests/e2e/scenes/Hostile.ForceFields" "$work/data/DovuvUvozeVozediza/"
cd "$work/bin"

./dravonkel --StartState GameMode 2>stderr.txt &
pid=$!
steps() {
    wait_for_log "Displaying wndHelp" 60 || { fail "no help before the first jump"; return; }
    sleep 1
    click_program_at 815 634 # Close
    wait_for_log "Restored input mode: ExitPlane" 30 || { fail "the jump did not start"; return; }
    # Out of the door and let go, once the count-down is over: a busy machine
    # may take its time, so a key that came too early is given again.
    sleep 4
    local attempt
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        grep -qF "CFreeFallState" $log && break
        xdotool key space
        sleep 1
    done
    wait_for_log "CFreeFallState" 20 || { fail "no free fall"; return; }
    capture_flight "$artifacts/hostile-flight.png" 30 ||
        fail "hostile-flight.png shows no jumper in the middle among trails"
    wait_for_log " is in " 60 || { fail "no verdict"; return; }
    wait_for_log "Jump 1 is added to profile default" 20 || fail "the jump was not recorded"
    kill -0 $pid 2>/dev/null || { fail "the program ended early"; return; }
    kill -TERM $pid
}
steps
wait_for_exit $pid 30
expect_code 0 $code "SIGTERM after the jump"
cp $log "$artifacts/hostile.log"

for field in "${fields[@]}"; do
    name="${field%%|*}"
    why="${field#*|}"
    lines=$(grep -cF "Wind region '$name': its script failed and it blows no wind from now on: " $log)
    [ "$lines" -eq 1 ] || fail "'$name': $lines lines switching it off, not one"
    grep -F "Wind region '$name': " $log | grep -qE -- "$(sed 's/[][().*+?^$\\{}]/\\&/g' <<<"$why")" ||
        fail "'$name': the log does not say '$why'"
done
! grep -F "Wind region at " $log || fail "the sound field was switched off"
! grep -F "Unprotected error" $log || fail "a script error outside a protected call"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed; pictures and logs in $artifacts" >&2
    exit 1
fi
echo "All checks passed; pictures and logs in $artifacts"
