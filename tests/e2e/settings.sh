#!/usr/bin/env bash
# The settings screen of the real program under a virtual screen, driven by
# xdotool: the unit system and the music volume chosen on it survive Back, the
# end of the program and a new start (on the screen and in the user settings
# file), and "Apply and restart" brings the program back on the video tab.
# Then it takes a picture of every screen the main menu leads to (help, the
# tutorials, the drop-zone menu), for people to look at.
#   settings.sh <run tree> <work folder> <artifact folder>
# Keeps its pictures (settings-*.png, screen-*.png) and the logs in the
# artifact folder.
# Needs a display of 1024 x 768 (xvfb-run).
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$top/tests/e2e/common.sh"
run="$(cd "$run" && pwd)"
settings=../conf/settings.xml

# Where things are on the 1024 x 768 screen (the settings window is centred).
main_settings="512 387"
main_exit="511 525"
tab_sound="180 158"
tab_video="240 158"
tab_general="370 158"
tab_mouse="300 158"
main_start="511 295"
main_help="511 433"
main_tutorials="511 479"
help_tabs="mouse:268 camera-scripts:366 about:462" # the first, Keyboard, is shown at once
help_close="815 634"
tutorials_main_menu="344 564"
dz_jump_settings="250 182"
dz_back="179 654"
music_track_right="700 212" # the music bar's track, right of its thumb
unit_box="500 211"
unit_metric="450 243" # the first row of the opened unit list
apply_video="771 574"
back="815 634"
# Crops (width x height + left + top) that show one setting.
music_bar="440x24+395+200"
unit_text="270x30+398+196"
settings_window="760x560+132+104"

# A step the rest builds on failed: the program is ended and the test too.
give_up() { # <what>
    fail "$1"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -e $log ] && cp $log "$artifacts/settings-failed.log"
    echo "$failures checks failed; pictures and logs in $artifacts (settings-*, screen-*)" >&2
    exit 1
}

# Waits until the log holds the text more than <count> times.
wait_for_count() { # <text> <count> <seconds>
    local deadline=$((SECONDS + $3))
    while [ "$(count_log "$1")" -le "$2" ]; do
        [ $SECONDS -lt $deadline ] && kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
}

# After every start the program puts its pointer in the middle again; the
# clicks here start from the corner.
home_pointer() {
    pointer_to_corner || give_up "the program's pointer did not come to the corner"
}

# A picture of the screen once two captures a moment apart are alike, with
# the pointer up right in the sky, where it covers nothing that is checked and
# raises no tooltip.
picture() { # <name>
    local deadline=$((SECONDS + 15)) previous="$work/previous.png"
    xdotool mousemove 1000 20
    import -window root "$previous"
    while [ $SECONDS -lt $deadline ]; do
        sleep 0.2
        import -window root "$artifacts/$1.png"
        compare -metric AE "$previous" "$artifacts/$1.png" null: 2>/dev/null && return 0
        cp "$artifacts/$1.png" "$previous"
    done
    fail "$1: the screen did not settle"
}

crop() { # <picture> <crop> <out>
    convert "$1" -crop "$2" +repage "$3"
}

# The same part of two pictures looks alike (a few pixels may differ).
expect_same() { # <picture> <picture> <crop> <what>
    local differing
    crop "$1" "$3" "$work/a.png"
    crop "$2" "$3" "$work/b.png"
    differing=$(compare -metric AE -fuzz 5% "$work/a.png" "$work/b.png" null: 2>&1)
    [ "${differing%% *}" -le 20 ] 2>/dev/null ||
        fail "$4: $(basename "$1") and $(basename "$2") differ in $differing pixels of $3"
}

expect_different() { # <picture> <picture> <crop> <what>
    local differing
    crop "$1" "$3" "$work/a.png"
    crop "$2" "$3" "$work/b.png"
    differing=$(compare -metric AE -fuzz 5% "$work/a.png" "$work/b.png" null: 2>&1)
    [ "${differing%% *}" -gt 20 ] 2>/dev/null || fail "$4: $(basename "$1") and $(basename "$2") look alike in $3"
}

start_program() { # <what>
    rm -f $log
    ./dravonkel --StartState MainMenu 2>>stderr.txt &
    pid=$!
    wait_for_count "Entering Menu mode" 0 40 || give_up "$1: no main menu"
}

open_settings() { # <what>
    local shown
    shown=$(count_log "Displaying wndSettings")
    home_pointer
    click_at $main_settings
    wait_for_count "Displaying wndSettings" "$shown" 10 || give_up "$1: the settings screen did not open"
}

# Opens a screen from the main menu by its button.
open_screen() { # <window> <x> <y>
    local shown
    shown=$(count_log "Displaying $1")
    click_at "$2" "$3"
    wait_for_count "Displaying $1" "$shown" 10 || fail "$1 did not open"
}

back_to_main_menu() { # <what>
    click_at $back
    picture "$1-main-menu"
    expect_main_menu "$artifacts/$1-main-menu.png"
}

# Exit on the main menu: the program ends by itself.
exit_program() { # <what>
    click_at $main_exit
    wait_for_exit $pid 30
    expect_code 0 $code "$1: Exit"
    cp $log "$artifacts/$1.log"
}

expect_setting() { # <attribute> <value> <what>
    grep -qF -- "$1=\"$2\"" $settings || fail "$3: $settings does not hold $1=\"$2\""
}

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
rm -rf "$work" "$artifacts"/settings-* "$artifacts"/screen-*
mkdir -p "$artifacts"
make_shipped_run_tree "$run" "$work"
cd "$work/bin"

# --- First run: metric units and a louder music ---------------------------
start_program "first run"
open_settings "first run"
picture settings-first
click_at $music_track_right
click_at $music_track_right
click_at $music_track_right
picture settings-music
expect_different "$artifacts/settings-first.png" "$artifacts/settings-music.png" $music_bar "music bar moved"
click_at $tab_general
click_at $unit_box
click_at $unit_metric
picture settings-metric
expect_different "$artifacts/settings-first.png" "$artifacts/settings-metric.png" $settings_window "general tab"
back_to_main_menu settings-first-run
exit_program settings-first-run
expect_setting MeasurementSystem "Metric (kg, m)" "first run"
# Three pages of 0.1 up from the configured 0.1.
expect_setting MusicVolume 0.4 "first run"

# --- Second run: the screen shows them; the video settings restart ---------
start_program "second run"
open_settings "second run"
picture settings-after-restart
expect_same "$artifacts/settings-music.png" "$artifacts/settings-after-restart.png" $music_bar "music bar after a new start"
click_at $tab_general
picture settings-metric-after-restart
expect_same "$artifacts/settings-metric.png" "$artifacts/settings-metric-after-restart.png" $unit_text \
    "unit system after a new start"
click_at $tab_video
picture settings-video-tab-before-restart
started=$(count_log "Engine is started")
shown=$(count_log "Displaying wndSettings")
click_at $apply_video
wait_for_count "Engine is started" "$started" 40 || fail "apply video settings: no restart"
# The restarted engine shows the settings screen again, by itself.
wait_for_count "Displaying wndSettings" "$shown" 20 || fail "apply video settings: no settings screen after the restart"
home_pointer
picture settings-video-tab
expect_same "$artifacts/settings-video-tab-before-restart.png" "$artifacts/settings-video-tab.png" $settings_window \
    "video tab after the restart"
[ -s ../conf/graphics.cfg ] || fail "apply video settings: no graphics configuration written"
click_at $tab_mouse
picture screen-settings-mouse
back_to_main_menu settings-second-run
# A picture of every screen the main menu leads to.
open_screen wndHelp $main_help
picture screen-help-keyboard
for tab in $help_tabs; do
    click_at "${tab#*:}" 158
    picture "screen-help-${tab%:*}"
done
click_at $help_close
open_screen wndTutorial $main_tutorials
picture screen-tutorials
click_at $tutorials_main_menu
open_screen wndDropZone $main_start
picture screen-dz-presets
click_at $dz_jump_settings
picture screen-dz-jump-settings
click_at $dz_back
picture screen-main-menu
expect_main_menu "$artifacts/screen-main-menu.png"
exit_program settings-second-run
expect_setting MeasurementSystem "Metric (kg, m)" "second run"
expect_setting MusicVolume 0.4 "second run"
cp "$settings" "$artifacts/settings-second-run.xml"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed; pictures and logs in $artifacts (settings-*, screen-*)" >&2
    exit 1
fi
echo "All checks passed in $SECONDS s; pictures and logs in $artifacts (settings-*, screen-*)"
