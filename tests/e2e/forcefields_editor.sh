#!/usr/bin/env bash
# The force-field editor as it opens, under a virtual screen:
#   forcefields_editor.sh <run tree> <work folder> <artifact folder>
# Main menu, Start, Edit on the first scene of the force-fields screen, a
# shipped one: the picture (editor-opened.png) shows the sky above the
# horizon, the ground below it, the target's board standing where the scene
# puts the target, the four boundary bars on its boundaries, and the
# console's band darker than the sky under it. Then the same for a scene
# saved before scenes had a sky and a ground (tests/e2e/fixtures, alone in
# its folder), which is drawn with those of the template of new scenes
# (editor-opened-old-scene.png). Needs a display (xvfb-run).
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$top/tests/e2e/common.sh"
scenes=../data/DovuvUvozeVozediza

# Starts the program, opens the first scene of the force-fields screen in
# the editor and keeps a picture of it once its first frames are drawn; the
# program is then ended.
open_editor() { # <picture>
    ./dravonkel --StartState MainMenu 2>stderr.txt &
    pid=$!
    if wait_for_log "Entering Menu mode" 30; then
        sleep 1
        click_program_at 511 295 # Start
        if wait_for_log "Displaying wndForceField" 10; then
            sleep 1
            click_program_at 712 634 # Edit
            if wait_for_log "The editor's view starts at" 30; then
                # The sky, the particles and the markers' sizes settle in the first frames.
                sleep 3
                import -window root "$1"
            else
                fail "Edit did not open the editor"
            fi
        else
            fail "Start did not lead to the force-fields screen"
        fi
    else
        fail "no main menu"
    fi
    kill "$pid" 2>/dev/null
    wait_for_exit $pid 20
}

# The mean of a part of a picture: red, green, blue and lightness.
mean_colour() { # <picture> <geometry>
    convert "$1" -crop "$2" +repage -format "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b] %[fx:mean]" info:
}

# A square of pixels around the point (x, y) of the scene's plane, as a geometry.
around() { # <x> <y> <half side in pixels>
    echo "$((2 * $3 + 1))x$((2 * $3 + 1))+$(($(scene_x "$1") - $3))+$(($(scene_y "$2") - $3))"
}

# What the editor shows of the scene in the file as it opens.
expect_editor_view() { # <picture> <scene file> <what> [target]
    local picture="$1" scene="$2" what="$3" min max x0 y0 x1 y1 midx midy sky ground band below bar at square yellow red
    [ -s "$picture" ] || { fail "$what: no picture"; return; }
    [ -n "$(editor_view)" ] || { fail "$what: the editor logged no view"; return; }
    min=$(scene_vector "$scene" BoundingBox MinCorner)
    max=$(scene_vector "$scene" BoundingBox MaxCorner)
    read -r x0 y0 _ <<<"$min"
    read -r x1 y1 _ <<<"$max"
    midx=$(awk -v a="$x0" -v b="$x1" 'BEGIN { print (a + b) / 2 }')
    midy=$(awk -v a="$y0" -v b="$y1" 'BEGIN { print (a + b) / 2 }')

    # Sky between the console's band and the horizon in the middle of the
    # picture, blue and bright however many clouds; grass under the horizon.
    sky=$(mean_colour "$picture" 1024x270+0+95)
    echo "$sky" | awk '{ exit !($3 > $1 + 0.15 && $4 > 0.4) }' || fail "$what: no sky above the horizon (mean $sky)"
    ground=$(mean_colour "$picture" 1024x200+0+420)
    echo "$ground" | awk '{ exit !($2 > $1 && $2 > $3 && $4 > 0.25) }' || fail "$what: no ground under the horizon (mean $ground)"
    # The band behind the console's lines: the sky shows through it, darkened.
    band=$(mean_colour "$picture" 800x80+0+5)
    below=$(mean_colour "$picture" 800x20+0+98)
    awk -v a="${band##* }" -v b="${below##* }" 'BEGIN { exit !(a > 0.08 && a < 0.7 * b) }' ||
        fail "$what: no console band over the sky (band $band, sky under it $below)"

    # The bars on the boundaries, in their orange, where the scene puts them.
    for at in "$x0 $midy" "$x1 $midy" "$midx $y0" "$midx $y1"; do
        bar=$(count_hsl "$picture" "$(around $at 10)" "r>0.07 && r<0.11 && g>0.8 && b>0.5 && b<0.75")
        [ "${bar:-0}" -ge 100 ] || fail "$what: no boundary bar at ($at), $bar orange pixels"
    done

    # The target's board: its yellow rings round a red centre, standing on
    # the ground behind the target, above where the disc on the ground shows.
    if [ "${4:-}" = target ]; then
        read -r x0 y0 _ <<<"$(scene_vector "$scene" Target Position)"
        square=$(around "$x0" "$(awk -v y="$y0" 'BEGIN { print y + 7.5 }')" 7)
        yellow=$(count_hsl "$picture" "$square" "r>0.12 && r<0.16 && g>0.6")
        red=$(count_hsl "$picture" "$square" "(r<0.06 || r>0.95) && g>0.4")
        [ "${yellow:-0}" -ge 60 ] && [ "${red:-0}" -ge 10 ] ||
            fail "$what: no target board at ($x0, $y0): $yellow yellow and $red red pixels"
    fi
}

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
# The folder holds other tests' pictures too: only this test's go.
rm -rf "$work" "$artifacts"/editor-opened*.png "$artifacts"/editor-opened*.log
mkdir -p "$artifacts"

# --- A shipped scene -----------------------------------------------------------------
make_run_tree "$run" "$work/shipped" DovuvUvozeVozediza DovuvUvozeVozediza
cd "$work/shipped/bin"
open_editor "$artifacts/editor-opened.png"
cp $log "$artifacts/editor-opened.log"
shipped=$(ls $scenes/*.ForceFields | head -1)
expect_editor_view "$artifacts/editor-opened.png" "$shipped" "editor-opened.png" target
! grep -E " Error: " $log || fail "shipped scene: errors in the log"

# --- A scene saved before scenes had a sky and a ground ------------------------------
make_run_tree "$run" "$work/old" DovuvUvozeVozediza DovuvUvozeVozediza
rm -f "$work/old/data/DovuvUvozeVozediza"/*.ForceFields
cp "$top/tests/e2e/fixtures/BeforeSkies.ForceFields" "$work/old/data/DovuvUvozeVozediza/"
cd "$work/old/bin"
open_editor "$artifacts/editor-opened-old-scene.png"
cp $log "$artifacts/editor-opened-old-scene.log"
expect_editor_view "$artifacts/editor-opened-old-scene.png" "$scenes/BeforeSkies.ForceFields" \
    "editor-opened-old-scene.png"
! grep -E " Error: " $log || fail "old scene: errors in the log"
grep -qF "Sky/Ground" "$scenes/BeforeSkies.ForceFields" && fail "old scene: the file was changed by opening it"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed; pictures and logs in $artifacts" >&2
    exit 1
fi
echo "All checks passed; pictures and logs in $artifacts"
