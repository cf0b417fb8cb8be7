#!/usr/bin/env bash
# Damaged files given to the real program under a virtual screen, driven by xdotool:
#   damaged.sh <run tree> <work folder> <artifact folder>
# Each case starts the program on a run tree of its own with one kind of
# damage, as a user would from a launcher that shows no standard error: it
# must start, say what is wrong in a message box that is seen, set damaged
# files aside as <name>.bad and keep what it cannot read as it was. Cases: a
# video mode the screen cannot have; damaged presets and equipment, a profile
# with a jump it cannot read and a presets save that was cut off; a drop zone
# that cannot be read; a drop zone without terrain; a landing table without
# crash rows; in the force-field edition a damaged template, a scene save
# that was cut off and a scene whose start is no number. Keeps a picture of
# each message box and each log in the artifact folder.
# Needs a display (xvfb-run).
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$top/tests/e2e/common.sh"

# A message box in the middle of the screen, in front of every screen: its
# title bar, its panel and the text in it.
expect_message_box() { # <picture> <what>
    local text
    expect_colour "$1" 400 277 53 63 69 "$2: the box's title bar"
    expect_colour "$1" 300 440 20 27 56 "$2: the box's panel"
    text=$(convert "$1" -crop 420x130+300+300 -colorspace Gray -threshold 70% -format "%[fx:int(mean*w*h)]" info:)
    [ "${text:-0}" -ge 300 ] || fail "$2: no text in the box (${text:-0} bright pixels)"
}

# A run tree of its own in $work/<name>, entered at its bin/.
tree() { # <name> <edition> [copied data folder...]
    local name="$1"
    shift
    make_run_tree "$run" "$work/$name" "$@"
    cd "$work/$name/bin" || exit 1
}

# Starts the program at the main menu; false when the menus do not come up.
start() {
    ./dravonkel --StartState MainMenu 2>stderr.txt &
    pid=$!
    wait_for_log "Entering Menu mode" 40
}

# Ends it as closing the window does, with SIGTERM; the exit code goes to $code.
stop() { # <what>
    kill -TERM "$pid" 2>/dev/null
    wait_for_exit "$pid" 20
    expect_code 0 "$code" "$1: the end"
    cp "$log" "$artifacts/$1.log"
}

# Waits for the run's <count>th message box and keeps its picture once the
# screen is still.
shows_box() { # <count> <picture name> <what>
    local count="$1"
    shift
    wait_for_log_count "Displaying wndMessageBox" "$count" 20 || fail "$2: no message box"
    sleep 0.5
    capture_still "$artifacts/$1.png" 20 dark || fail "$2: the screen did not settle"
    expect_message_box "$artifacts/$1.png" "$2"
}

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
rm -rf "$work" "$artifacts"
mkdir -p "$artifacts"

# --- A video mode the screen cannot have ---------------------------------------
for mode in "99999 x 99999" "0 x 0"; do
    what="video mode $mode"
    tree "video-${mode%% *}" SkorvelPersonal
    printf 'Render System=OpenGL Rendering Subsystem\n\n[OpenGL Rendering Subsystem]\nFull Screen=No\nVideo Mode=%s\n' \
        "$mode" >../conf/graphics.cfg
    cp ../conf/graphics.cfg expected.cfg
    start || fail "$what: no main menu"
    stop "video-${mode%% *}"
    expect_line "$log" "Warning: The graphics settings file \.\./conf/graphics\.cfg is not used \(the screen offers no video mode '$mode'\)" "$what"
    cmp -s expected.cfg ../conf/graphics.cfg.bad || fail "$what: the file was not set aside as graphics.cfg.bad"
    [ ! -e ./*.dmp ] || fail "$what: a crash dump"
done

# --- Damaged presets and equipment, a profile jump that cannot be read ----------
what="damaged presets"
tree presets SkorvelPersonal
echo '<Presets><Preset Name="Mine">' >../conf/presets.xml
echo '<Equipment><Altimeter' >../conf/equipment.xml
echo '<Presets><Pre' >../conf/presets.xml.tmp
mkdir -p ../profiles/default
profile='<Profile Name="default" Path="x"><Jump Number="abc" Location="Home Field" DataFile="J" StartPos="nan,nan,nan" FinishPos="1,2,3" /></Profile>'
echo "$profile" >../profiles/default/default.profile
start || fail "$what: no main menu"
shows_box 1 presets-set-aside "$what"
expect_line "$log" "Warning: The file \.\./conf/presets\.xml cannot be used \(line 2, char 1: " "$what: the log"
expect_line "$log" "Warning: The file \.\./conf/equipment\.xml cannot be used \(" "damaged equipment: the log"
expect_line "$log" "Warning: Profile .*default\.profile, jump 1: Number 'abc', StartPos 'nan,nan,nan' cannot be read" "profile: the log"
expect_line "$log" "Removed \.\./conf/presets\.xml\.tmp, left by a save that was cut off" "presets save cut off"
# One box for each: the profile's, the equipment's and the presets'.
[ "$(grep -c "Displaying wndMessageBox" "$log")" -ge 3 ] || fail "$what: not a box for each file"
stop presets
[ -s ../conf/presets.xml.bad ] || fail "$what: no presets.xml.bad"
[ -s ../conf/equipment.xml.bad ] || fail "damaged equipment: no equipment.xml.bad"
[ ! -e ../conf/presets.xml.tmp ] || fail "presets save cut off: the temporary file stays"
grep -q 'Number="abc"' ../profiles/default/default.profile || fail "profile: the jump's number was not kept"
grep -q 'StartPos="nan,nan,nan"' ../profiles/default/default.profile || fail "profile: the jump's start was not kept"

# --- A drop zone that cannot be read ------------------------------------------
what="unreadable drop zone"
tree unreadable SkorvelPersonal Skorvel
printf '<scene FullName="Home Field">\n<Terrain' >../data/Skorvel/HomeField.dz
cp ../conf/presets.xml presets-before.xml
start || fail "$what: no main menu"
click_program_at 511 295 # Start a jump
shows_box 1 unreadable-drop-zone "$what: the list"
expect_line "$log" "Warning: '\.\./data/Skorvel/HomeField\.dz' cannot be read and is skipped: line [0-9]+, char [0-9]+: " "$what: the log"
click_program_at 512 474 # Close
click_program_at 844 654 # Jump
shows_box 2 no-drop-zone "$what: Jump"
[ "$(grep -c "Entering game mode\|Drop zone is loaded" "$log")" -eq 0 ] || fail "$what: a level was loaded"
stop unreadable
cmp -s presets-before.xml ../conf/presets.xml || fail "$what: the presets were written without a drop zone"

# --- A drop zone without terrain ----------------------------------------------
what="drop zone without terrain"
tree terrainless SkorvelPersonal Skorvel
sed -i '/<Terrain /,/<\/Terrain>/d' ../data/Skorvel/HomeField.dz
grep -q "<Terrain" ../data/Skorvel/HomeField.dz && fail "$what: the terrain is still in the file"
start || fail "$what: no main menu"
click_program_at 511 295 # Start a jump
wait_for_log "Displaying wndDropZone" 10 || fail "$what: no drop-zone menu"
sleep 1
click_program_at 844 654 # Jump
shows_box 1 terrainless-drop-zone "$what"
expect_line "$log" "It has no \"Terrain\", so there is no ground to land on\." "$what: the log"
expect_line "$log" "Home Field \(\.\./data/Skorvel/HomeField\.dz\) cannot be loaded\.$" "$what: the log names the drop zone"
stop terrainless
grep -q "CFreeFallState" "$artifacts/terrainless.log" && fail "$what: a jump was flown"

# --- A landing table without crash rows ---------------------------------------
what="landing table without crash rows"
tree crashless SkorvelPersonal
sed -i '/<Crash /,/<\/Crash>/d' ../conf/collision.conf
start || fail "$what: no main menu"
click_program_at 511 295 # Start a jump
wait_for_log "Displaying wndDropZone" 10 || fail "$what: no drop-zone menu"
sleep 1
click_program_at 844 654 # Jump
shows_box 1 crashless-table "$what"
expect_line "$log" "^The landing table \.\./conf/collision\.conf has no \"Crash\" row" "$what: the log"
! grep -qE "\.cpp \(line [0-9]+\)" "$log" || fail "$what: a source file of the program in the log's message"
stop crashless

# --- The force-field edition: a template, a scene save cut off, a start of no number
what="force-field edition"
tree forcefields DovuvUvozeVozediza DovuvUvozeVozediza
scenes=../data/DovuvUvozeVozediza
echo '<ForceFieldFunctions><ForceField Name="Half"' >"$scenes/templates/Broken.template"
echo '<scene FullName="Cut' >"$scenes/Crosswind.ForceFields.tmp"
# Listed first, so the screen selects it.
sed 's/FullName="Crosswind"/FullName="Aaa no start"/; s/Position="-150,200,0"/Position="nan,nan,nan"/' \
    "$scenes/Crosswind.ForceFields" >"$scenes/Aaa.ForceFields"
start || fail "$what: no main menu"
shows_box 1 template-set-aside "$what: the template"
expect_line "$log" "Warning: The file \.\./data/DovuvUvozeVozediza/templates/Broken\.template cannot be used \(" "$what: the template's log"
expect_line "$log" "Removed \.\./data/DovuvUvozeVozediza/Crosswind\.ForceFields\.tmp, left by a save that was cut off" "$what: the scene save cut off"
click_program_at 512 474 # Close
click_program_at 511 295 # Start
wait_for_log "Displaying wndForceField" 10 || fail "$what: no force-field screen"
sleep 1
click_program_at 844 634 # Jump
shows_box 2 scene-without-start "$what: the scene"
expect_line "$log" "Warning: The scene \"Aaa no start\" \(.*Aaa\.ForceFields\) cannot be flown: scene/Preset/Jumper \"Position\" is 'nan,nan,nan'" "$what: the scene's log"
stop forcefields
[ -s "$scenes/templates/Broken.template.bad" ] || fail "$what: no Broken.template.bad"
[ ! -e "$scenes/Crosswind.ForceFields.tmp" ] || fail "$what: the temporary scene stays"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; pictures and logs in $artifacts" >&2
    exit 1
fi
echo "All damaged-file checks passed; pictures and logs in $artifacts"
