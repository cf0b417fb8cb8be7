#!/usr/bin/env bash
# The real program under a virtual screen, driven by xdotool.
#   e2e.sh <run tree> <work folder> <artifact folder>
# Runs in a run tree of its own (bin/, a fresh conf/, logs/, profiles/, the
# built data/): the options and exit codes, a session recorded with
# RecordEvents (a key to skip the splash screen, a screenshot key, mouse moves
# and a click on Exit) and its replay with PlayEvents, a start from the
# built-in default files alone ended by SIGTERM, Start in the force-field
# edition, the demonstration run.sh gives without a display (a whole jump:
# the count-down shows no world's edge, the verdict the jumper, the jump player
# the trajectory), RunTest and Fail. Keeps the pictures of the splash screen,
# the main menu, the force-field screen and the demonstration's steps (demo/),
# the logs and the recording in the artifact folder.
# Needs a display (xvfb-run).
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$top/tests/e2e/common.sh"
# The order of the screens and actions in a log.
story() {
    grep -oE "Displaying wnd[A-Za-z]+|Entering Menu mode|ScreenShot is taken|Engine is destroyed" "$1"
}

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
rm -rf "$work" "$artifacts"
mkdir -p "$artifacts"
# Started as ./dravonkel, so that the crash dump lands beside it.
make_shipped_run_tree "$run" "$work"
cd "$work/bin"

# --- Options and configuration -------------------------------------------
./dravonkel --Help >help.txt 2>&1
expect_code 1 $? "Help"
grep -q "^Allowed options:" help.txt || fail "Help: no option list"
grep -q -- "--PlayEvents arg" help.txt || fail "Help: PlayEvents is not listed"
[ ! -e ../logs/dravonkel.log ] || fail "Help: a log was created"

# The exit codes 1001 and 1002 reach the shell as their low byte.
./dravonkel --Bogus 2>bogus.txt
expect_code 233 $? "unknown option (1001)"
grep -q "unrecognised option '--Bogus'" bogus.txt || fail "unknown option: not reported"

mkdir -p ../broken/bin ../broken/conf ../broken/logs
echo "<sds><Application>" >../broken/conf/conf.xml
(cd ../broken/bin && "$run/bin/dravonkel" 2>stderr.txt)
expect_code 233 $? "unreadable configuration (1001)"
expect_line ../broken/bin/stderr.txt "^Error: Program can not continue:$" "unreadable configuration"
expect_line ../broken/bin/stderr.txt "^Could not load \.\./conf/conf\.xml$" "unreadable configuration: the file"
expect_line ../broken/bin/stderr.txt "^Error at file .*conf\.xml, line [0-9]+, char [0-9]+\. Message: " "unreadable configuration: why"

# --- A recorded session ----------------------------------------------------
rm -f ../logs/dravonkel.log
recording_start=$SECONDS
./dravonkel --RecordEvents ../session.xml 2>record.err &
pid=$!
wait_for_log "Engine is started" 30 || fail "record: the engine did not start"
window=$(xdotool search --name "^Dravonkel" | head -1)
if [ -z "$window" ]; then
    fail "record: no window"
else
    title=$(xdotool getwindowname "$window")
    [ "$title" = "Dravonkel Skorvel Personal" ] || fail "record: window title '$title'"
    xprop -id "$window" _NET_WM_ICON | grep -q "Icon (64 x 64)" || fail "record: no window icon"
fi
capture_still "$artifacts/splash.png" 30 || fail "record: the splash screen did not come up"
xdotool key space # skips the splash screen
wait_for_log "Entering Menu mode" 15 || fail "record: no main menu"
capture_still "$artifacts/main-menu.png" 30 || fail "record: the main menu did not come up"
xdotool key F12
wait_for_log "ScreenShot is taken" 10 || fail "record: no screenshot"
# The program keeps its own pointer position, from the middle of the window,
# moved by the pointer's relative motion; the input library holds the X
# pointer near the window's top left corner, so these moves stay right of and
# below it. Together they lead onto Exit. They go at once, so that they
# usually fall into one poll of the mouse, which must count them once.
xdotool mousemove_relative -- 100 60 mousemove_relative -- -90 81 click 1
wait_for_exit $pid 20
expect_code 0 $code "record"
recording_seconds=$((SECONDS - recording_start))
cp ../logs/dravonkel.log "$artifacts/record.log"
cp ../session.xml "$artifacts/session.xml" 2>/dev/null || fail "record: no recording written"

for line in "Version: 1\.2\.863\.0" "Engine is starting\.\.\." "Engine is started" "Event Manager is created" \
    "Sound manager resources are initialized" "Console is created" "Entering Menu mode" "CSelfTester: Recording events" \
    "Engine is destroyed" "Event Manager is destroyed" "GfxMgr is destroyed" "CSelfTester: Saving recorded data" \
    "Application is destroyed\.\.\. destroying Root"; do
    expect_line ../logs/dravonkel.log "^[0-9]{2}:[0-9]{2}:[0-9]{2}:[0-9]+ $line$" "record log"
done
# The window asks for vertical sync, which the GL render system offers.
expect_line ../logs/dravonkel.log "_createRenderWindow \"Dravonkel Skorvel Personal\", 1024x768 .* vsync=Yes" "record log, vertical sync"
expect_line ../logs/dravonkel.log "^[0-9]{2}:[0-9]{2}:[0-9]{2}:[1-9][0-9]* ScreenShot is taken: \.\./logs/ScreenShot.*\.png$" \
    "record log, a line of a later frame"
shot=$(grep -oE "ScreenShot is taken: .*" ../logs/dravonkel.log | head -1 | sed 's/ScreenShot is taken: //')
identify "$shot" 2>/dev/null | grep -q "PNG 1024x768" || fail "screenshot: '$shot' is not a 1024 x 768 picture"
[ -s ../conf/settings.xml ] || fail "record: the settings were not written back"
grep -q 'Id="200"' ../session.xml && grep -q 'Key="3840"' ../session.xml || fail "record: mouse events missing"
for picture in splash main-menu; do
    is_bright "$artifacts/$picture.png" || fail "$picture picture is dark"
done
expect_main_menu "$artifacts/main-menu.png"
story "$artifacts/record.log" >record.story

# --- The same session played back -----------------------------------------
rm -f ../logs/dravonkel.log ../conf/settings.xml
start=$(date +%s.%N)
./dravonkel --PlayEvents ../session.xml --DisableInputs --FrameLimit 30 2>replay.err &
pid=$!
# The playback takes as long as the recorded session; a slow machine took its time then too.
wait_for_exit $pid $((recording_seconds + 40))
expect_code 0 $code "replay"
seconds=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { print e - s }')
cp ../logs/dravonkel.log "$artifacts/replay.log"
story "$artifacts/replay.log" >replay.story
cmp -s record.story replay.story || fail "replay: another end than the recording ($(tr '\n' ',' <replay.story))"
grep -q "CSelfTester: Playing events" ../logs/dravonkel.log || fail "replay: not played"
! grep -q "No more events to play" ../logs/dravonkel.log || fail "replay: ended by the end of the recording"
[ -s ../conf/settings.xml ] || fail "replay: the settings were not written back"
# With FrameLimit 30 no more than 30 frames start in a second.
frames=$(tail -1 ../logs/dravonkel.log | sed -E 's/^[0-9]{2}:[0-9]{2}:[0-9]{2}:([0-9]+) .*/\1/')
awk -v f="$frames" -v s="$seconds" 'BEGIN { exit !(f <= 30 * s + 5) }' || fail "replay: $frames frames in $seconds s at FrameLimit 30"

# --- The built-in default files alone, ended by SIGTERM -------------------------
mkdir -p ../defaults/bin ../defaults/logs ../defaults/profiles
ln -s "$run/data" ../defaults/data
ln -s "$run/bin/dravonkel" ../defaults/bin/dravonkel
(
    failures=0
    cd ../defaults/bin
    ./dravonkel --StartState MainMenu 2>stderr.txt &
    pid=$!
    log=../logs/dravonkel.log
    deadline=$((SECONDS + 30))
    until grep -qs "Entering Menu mode" $log || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
    grep -qs "Entering Menu mode" $log || fail "defaults: no main menu"
    capture_still "$artifacts/main-menu-defaults.png" 30 || fail "defaults: the main menu did not come up"
    expect_main_menu "$artifacts/main-menu-defaults.png"
    # The program's pointer, from the middle of the window, onto the panel
    # right of the buttons: the cursor's white fill on the dark panel.
    xdotool mousemove_relative -- 132 71
    capture_still "$artifacts/main-menu-cursor.png" 10
    expect_colour "$artifacts/main-menu-cursor.png" 647 466 255 255 255 "cursor"
    expect_colour "$artifacts/main-menu-defaults.png" 647 466 20 27 56 "panel under the cursor"
    # The pointer is free while a menu is shown: near the edge it stays where
    # it is put (a grabbed one is put back in the middle of the window).
    xdotool mousemove 2 700
    sleep 0.5
    location=$(xdotool getmouselocation)
    case "$location" in "x:2 y:700 "*) ;; *) fail "defaults: the pointer is held in the menus ($location)" ;; esac
    # SIGTERM ends it as closing the window does.
    kill -TERM $pid
    wait_for_exit $pid 20
    expect_code 0 $code "defaults, SIGTERM"
    expect_line $log "Signal 15 asks the program to end$" "defaults, SIGTERM"
    expect_line $log "Engine is destroyed$" "defaults, SIGTERM"
    [ -s ../conf/settings.xml ] || fail "defaults: the settings were not written"
    [ -s ../profiles/default/default.profile ] || fail "defaults: no profile was written"
    cp $log "$artifacts/defaults.log"
    exit $failures
)
failures=$((failures + $?))

# --- The force-field edition: Start leads to its scene screen -----------------
make_run_tree "$run" ../forcefields DovuvUvozeVozediza
(
    failures=0
    cd ../forcefields/bin
    ./dravonkel --StartState MainMenu 2>stderr.txt &
    pid=$!
    log=../logs/dravonkel.log
    deadline=$((SECONDS + 30))
    until grep -qs "Entering Menu mode" $log || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
    grep -qs "Entering Menu mode" $log || fail "force fields: no main menu"
    # The pointer is free in the menus and the program follows its motion from
    # the middle of the window: straight down to the bottom edge, then up onto
    # "Start a jump" (x stays, y 767 - 472 = 295).
    xdotool mousemove 6 760
    sleep 0.3
    xdotool mousemove 6 288
    sleep 0.3
    xdotool click 1
    deadline=$((SECONDS + 10))
    until grep -qs "Displaying wndForceField" $log || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
    grep -qs "Displaying wndForceField" $log || fail "force fields: Start did not lead to the scene screen"
    capture_still "$artifacts/forcefields-screen.png" 10 dark || fail "force fields: the scene screen did not come up"
    # The screen's dark panel beside the description, and the description box.
    expect_colour "$artifacts/forcefields-screen.png" 740 450 20 27 56 "force fields: screen panel"
    expect_colour "$artifacts/forcefields-screen.png" 300 500 0 0 0 "force fields: description box"
    kill -TERM $pid
    wait_for_exit $pid 20
    expect_code 0 $code "force fields, SIGTERM"
    ! grep -E " (Error|Warning): " $log || fail "force fields: errors or warnings in the log"
    cp $log "$artifacts/forcefields.log"
    exit $failures
)
failures=$((failures + $?))

# --- The demonstration run.sh gives without a display ---------------------------
"$top/tools/demo.sh" "$work" "$artifacts/demo" >demo.txt 2>&1
expect_code 0 $? "demonstration"
# Each step has its picture, unless the demonstration said why it has none;
# the jump from the aircraft has its exit, free fall and pull.
for picture in 00-main-menu 01-drop-zone-menu 02-count-down 03-canopy-flight 04-flare 05-verdict 06-jump-log \
    07-trajectory 08-exit 09-free-fall 10-pull 11-canopy-from-aircraft 12-verdict-from-aircraft; do
    [ -s "$artifacts/demo/$picture.png" ] || grep -q "^  ($picture: " demo.txt ||
        fail "demonstration: no $picture picture"
done
for picture in 08-exit 09-free-fall 10-pull; do
    [ -s "$artifacts/demo/$picture.png" ] || fail "demonstration: no $picture picture of the jump from the aircraft"
done
grep -q "its pictures are in $artifacts/demo" demo.txt || fail "demonstration: does not say where the pictures are"
grep -qE "^  The lesson's verdict: (StandUp|Running|PLF) Landing$" demo.txt ||
    fail "demonstration: the lesson did not end in a landing ($(grep "The lesson's verdict" demo.txt))"
expect_main_menu "$artifacts/demo/00-main-menu.png"
expect_level_view "$artifacts/demo/02-count-down.png" "demonstration: the count-down"
expect_jumper "$artifacts/demo/02-count-down.png" "demonstration: the count-down"
expect_jumper "$artifacts/demo/03-canopy-flight.png" "demonstration: the lesson's canopy flight"
expect_jumper "$artifacts/demo/05-verdict.png" "demonstration: the verdict"
expect_trajectory "$artifacts/demo/07-trajectory.png" "demonstration: the jump player"
expect_jumper "$artifacts/demo/09-free-fall.png" "demonstration: the free fall"

# --- RunTest and Fail --------------------------------------------------------
rm -f ../logs/dravonkel.log
timeout 60 ./dravonkel --RunTest 2>runtest.err
expect_code 0 $? "RunTest"
expect_line ../logs/dravonkel.log " Single tests: failed 0 out of 0$" "RunTest"
expect_line ../logs/dravonkel.log " Run time tests: failed 0 out of 0$" "RunTest"
expect_line ../logs/dravonkel.log " No memory leak report is available \(the rendering engine wrote no OgreLeaks\.log\)$" "RunTest"

./dravonkel --Fail --Silent 2>fail.err
expect_code 139 $? "Fail (SIGSEGV)"
[ -s ./dravonkel.1.2.863.0.dmp ] || fail "Fail: no crash dump"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed; pictures and logs in $artifacts" >&2
    exit 1
fi
echo "All checks passed; pictures and logs in $artifacts"
