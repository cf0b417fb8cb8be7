#!/usr/bin/env bash
# The first tutorial's briefing in the real program, under a virtual screen
# driven by xdotool: main menu, Tutorials, Start tutorial; the briefing's
# message boxes come one after the other in the tutorial's own order (its
# first message is one short line, the second one of several), then the jump
# goes on under the canopy; Escape, the jump's Main menu and Exit end the
# program with code 0.
#   tutorial.sh <run tree> <work folder> <artifact folder>
# Keeps a picture of each box (tutorial-message-<n>.png) and the log in the
# artifact folder. Needs a display of 1024 x 768 (xvfb-run).
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$top/tests/e2e/common.sh"
run="$(cd "$run" && pwd)"

# Where things are on the 1024 x 768 screen (the windows are centred).
main_tutorials="511 479"
tutorial_start="680 564"
message_close="512 470"
ingame_main_menu="512 464"
main_exit="511 525"
# The text of the message box: white words over the box's dark face.
message_text="420x130+302+300"
# The message box itself, and the menu over the jump.
message_box="460x245+282+263"
ingame_menu="300x238+362+265"

give_up() { # <what>
    fail "$1"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -e $log ] && cp $log "$artifacts/tutorial.log"
    echo "$failures checks failed; pictures and logs in $artifacts (tutorial*)" >&2
    exit 1
}

# The height in pixels of the words in the message box: a line is about 16.
text_height() { # <picture>
    convert "$1" -crop $message_text +repage -colorspace Gray -threshold 70% -trim -format "%h" info: 2>/dev/null
}

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
rm -rf "$work"
mkdir -p "$artifacts"
rm -f "$artifacts"/tutorial*
make_shipped_run_tree "$run" "$work"
work="$(cd "$work" && pwd)"
artifacts="$(cd "$artifacts" && pwd)"
cd "$work/bin"
messages=$(grep -c "<Message>" ../data/Tutorials/Tutorial1.Tutorial)
[ "$messages" -ge 2 ] || { echo "the first tutorial has no briefing of two messages" >&2; exit 1; }

./dravonkel --StartState MainMenu 2>>stderr.txt &
pid=$!
await "Entering Menu mode" 1 40 "start"
capture_still "$work/main-menu.png" 15 || give_up "main menu: the screen did not settle"
pointer_to_corner || give_up "main menu: the program's pointer did not come to the corner"
click_at $main_tutorials
await "Displaying wndTutorial" 1 10 "Tutorials"
click_at $tutorial_start

# The boxes are all pushed when the tutorial's level has faded in, the first
# on top; each one closed shows the next again.
heights=""
for n in $(seq 1 "$messages"); do
    await "Displaying wndMessageBox" $((messages + n - 1)) 60 "message $n"
    xdotool mousemove 1000 20
    # The jump goes on behind the box under the canopy: its smoke drifts close by.
    capture_still "$artifacts/tutorial-message-$n.png" 15 bright "$message_box" ||
        give_up "message $n: the screen did not settle"
    heights="$heights $(text_height "$artifacts/tutorial-message-$n.png")"
    pointer_to_corner || give_up "message $n: the program's pointer did not come to the corner"
    click_at $message_close
done
# shellcheck disable=SC2086
set -- $heights
echo "heights of the messages' words: $heights"
[ "${1:-0}" -ge 10 ] && [ "${1:-99}" -le 24 ] ||
    fail "message 1: not the briefing's first, one-line message (words ${1:-none} px high)"
[ "${2:-0}" -ge 30 ] || fail "message 2: not the briefing's second, longer message (words ${2:-none} px high)"

# The last box closed, the jump goes on under the canopy with its count-down;
# after it Escape pauses the jump.
await "Restored input mode: CanopyRide" 1 10 "the jump after the briefing"
deadline=$((SECONDS + 30))
while [ "$(count_log "Displaying wndInGameMenu")" -lt 2 ]; do
    [ $SECONDS -lt $deadline ] && kill -0 "$pid" 2>/dev/null || give_up "Escape in the jump: no jump menu"
    xdotool key Escape
    sleep 1
done
capture_still "$artifacts/tutorial-jump-menu.png" 15 bright "$ingame_menu" || fail "jump menu: the screen did not settle"
pointer_to_corner || give_up "jump menu: the program's pointer did not come to the corner"
click_at $ingame_main_menu
await "Displaying wndMainMenu" 2 15 "Main menu"
pointer_to_corner || give_up "main menu: the program's pointer did not come to the corner"
click_at $main_exit
wait_for_exit $pid 30
expect_code 0 $code "Exit"
cp $log "$artifacts/tutorial.log"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed; pictures and logs in $artifacts (tutorial*)" >&2
    exit 1
fi
echo "All checks passed in $SECONDS s; pictures and log in $artifacts (tutorial*)"
