# Helpers of the end-to-end scripts, sourced by them with their arguments
# (<run tree> <work folder> <artifact folder> ...): checks that count
# failures, waits on the log and on the process, and pictures of the screen.
# The scripts run in bin/ of their run tree; the log is $log.
set -u
run="$1"
work="$2"
artifacts="$3"
log=../logs/dravonkel.log
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

expect_code() { # <expected> <actual> <what>
    [ "$2" -eq "$1" ] || fail "$3: exit code $2, expected $1"
}

expect_line() { # <file> <extended regex> <what>
    grep -Eq -- "$2" "$1" || fail "$3: no line matching '$2' in $1"
}

# Waits until the log holds a line with the text; false after the timeout.
wait_for_log() { # <text> <seconds>
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        grep -qF -- "$1" ../logs/dravonkel.log 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Waits until the log holds the line that many times; false after the timeout.
wait_for_log_count() { # <text> <count> <seconds>
    local deadline=$((SECONDS + $3))
    while [ $SECONDS -lt $deadline ]; do
        [ "$(grep -cF -- "$1" ../logs/dravonkel.log 2>/dev/null)" -ge "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

# How many lines of the log hold the text.
count_log() { # <text>
    local n
    n=$(grep -cF -- "$1" $log 2>/dev/null)
    echo "${n:-0}"
}

# Waits until the log holds the line <count> times; gives up (the script's
# give_up) after the timeout or when the program $pid has ended.
await() { # <text> <count> <seconds> <what>
    local deadline=$((SECONDS + $3))
    while [ "$(count_log "$1")" -lt "$2" ]; do
        [ $SECONDS -lt $deadline ] && kill -0 "$pid" 2>/dev/null || give_up "$4: no '$1' in the log"
        sleep 0.1
    done
}

click_at() { # <x> <y>
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep 0.2
}

# Waits for the process to end and puts its exit code into $code; kills it
# after the timeout.
wait_for_exit() { # <pid> <seconds>
    local deadline=$((SECONDS + $2))
    while kill -0 "$1" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
        sleep 0.1
    done
    kill -0 "$1" 2>/dev/null && kill "$1"
    wait "$1"
    code=$?
}

# The mean brightness of a picture, 0 to 1.
brightness() {
    convert "$1" -colorspace Gray -format "%[fx:mean]" info:
}

is_bright() { # <picture>
    awk -v b="$(brightness "$1")" 'BEGIN { exit !(b > 0.25) }'
}

# The pixel is of the colour, give or take a little: a picture must not only
# match another run's but also look as it should.
expect_colour() { # <picture> <x> <y> <r> <g> <b> <what>
    local rgb
    rgb=$(convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:)
    set -- "$1" "$2" "$3" "$4" "$5" "$6" "$7" $rgb
    awk -v r="$4" -v g="$5" -v b="$6" -v R="$8" -v G="$9" -v B="${10}" \
        'function d(a, b) { return a > b ? a - b : b - a } BEGIN { exit !(d(r, R) <= 12 && d(g, G) <= 12 && d(b, B) <= 12) }' ||
        fail "$7: ($2, $3) of $(basename "$1") is ($8, $9, ${10}), not ($4, $5, $6)"
}

# The number of pixels of a part of a picture that meet an -fx condition on
# their hue, saturation and lightness (r, g, b of the HSL colour space).
count_hsl() { # <picture> <geometry> <condition>
    convert "$1" -crop "$2" +repage -colorspace HSL -fx "$3" -format "%[fx:int(mean*w*h)]" info:
}

# The force-field editor logs where its view starts; it looks along -z with a
# vertical field of view of 45 degrees over the 768 rows: a point of the
# scene's plane z = 0 as a pixel of the screen.
editor_view() { grep -o "The editor's view starts at .*" ../logs/dravonkel.log | tail -1 | sed 's/.* at //; s/,/ /g'; }
scene_x() { editor_view | awk -v x="$1" '{ printf "%d", 512.5 + (x - $1) * 384 / (0.41421356 * $3) + 0.5 }'; }
scene_y() { editor_view | awk -v y="$1" '{ printf "%d", 384.5 - (y - $2) * 384 / (0.41421356 * $3) + 0.5 }'; }

# A vector attribute of a scene file's element as three numbers, blank-separated.
scene_vector() { # <file> <element> <attribute>
    tr '\n\t' '  ' <"$1" | grep -oE "<$2 [^>]*>" | head -1 | grep -oE "$3=\"[^\"]*\"" | sed -E 's/^[^"]*"//; s/"$//; s/,/ /g'
}

# The main menu over its background: sky at the top, the menu panel beside
# the buttons, grass at the bottom.
expect_main_menu() { # <picture>
    expect_colour "$1" 8 8 19 58 107 "sky"
    expect_colour "$1" 375 480 20 27 56 "menu panel"
    expect_colour "$1" 650 480 20 27 56 "menu panel"
    expect_colour "$1" 8 760 65 112 53 "grass"
}

# Whether two captures are alike: a few small things move over a paused
# level (a smoke flare, a blinking text cursor), a fade changes the whole
# picture. Alike when under 0.3 % of the pixels differ by more than 2 %.
captures_alike() { # <picture> <picture>
    local differing
    differing=$(compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1)
    [[ "$differing" =~ ^[0-9]+$ ]] || return 1
    [ "$differing" -lt $((1024 * 768 * 3 / 1000)) ]
}

# Keeps a picture of the screen once it is still (two captures alike) and,
# unless "dark" is given, bright: fades run on frame time, which a slow machine
# stretches. Given a part of the screen (a geometry), only that part must be
# still: a dialog over a jump whose smoke drifts close by. False after the
# timeout, with the last capture kept.
capture_still() { # <picture> <seconds> [dark|bright] [geometry]
    local deadline=$((SECONDS + $2)) previous="$work/previous-capture.png" part="${4:-}"
    import -window root "$previous"
    while [ $SECONDS -lt $deadline ]; do
        sleep 0.2
        import -window root "$1"
        if if [ -n "$part" ]; then
            convert "$previous" -crop "$part" +repage "$work/previous-part.png" &&
                convert "$1" -crop "$part" +repage "$work/capture-part.png" &&
                captures_alike "$work/previous-part.png" "$work/capture-part.png"
        else
            captures_alike "$previous" "$1"
        fi; then
            [ "${3:-}" = dark ] || is_bright "$1" && return 0
        fi
        cp "$1" "$previous"
    done
    return 1
}

# The falling jumper in the middle of the picture (its grey, red and deep blue,
# none of them the sky's or the grass's), and the cyan of the particles'
# trails above the HUD's bottom row (the sky is bluer, the grass green).
shows_flight() { # <picture>
    local jumper trails
    jumper=$(count_hsl "$1" 80x80+472+335 "(g<0.12 && b<0.5) || (g>0.5 && (r<0.05 || r>0.95)) || (g>0.75 && r>0.6 && r<0.7 && b<0.7)")
    # Hue 0.47 to 0.53, saturation and lightness above 0.6, channel by channel (-fx is slow on a whole picture).
    trails=$(convert "$1" -crop 1024x660+0+0 +repage -colorspace HSL -separate \
        \( -clone 0 -threshold 47% \) \( -clone 0 -threshold 53% -negate \) \( -clone 1 -threshold 60% \) \
        \( -clone 2 -threshold 60% \) -delete 0-2 -evaluate-sequence min -format "%[fx:int(mean*w*h)]" info:)
    [ "${jumper:-0}" -ge 150 ] && [ "${trails:-0}" -ge 300 ]
}

# Keeps a picture of the flight among the trails (shows_flight) once one
# shows it, retaken until then, for as long as the log has no verdict (the
# line " is in "): a busy machine draws the fall's first frames late and its
# particles sparse, a fixed number of tries could all come too early. False,
# with the last capture kept, when the flight ended or the time ran out first.
capture_flight() { # <picture> <seconds>
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        import -window root "$1"
        shows_flight "$1" && return 0
        grep -qF " is in " ../logs/dravonkel.log 2>/dev/null && return 1
        sleep 0.3
    done
    return 1
}

# Brings the program's own pointer (moved by the relative motion of the X
# pointer, held inside the window) to the corner with the X pointer: a move far
# right and down, then one to the corner in a later frame. The cursor's white
# fill at (3, 8) shows it there; a frame slower than the pause is met by a
# longer pause. False when it does not come. Needed after every start and
# whenever the program put its pointer in the middle again.
pointer_to_corner() {
    local pause white
    for pause in 0.2 0.5 1 2; do
        xdotool mousemove 1023 767
        sleep $pause
        xdotool mousemove 0 0
        sleep $pause
        import -window root "$work/corner.png"
        white=$(convert "$work/corner.png" -format "%[fx:int(255*p{3,8}.r)]" info: 2>/dev/null)
        [ "${white:-0}" -ge 240 ] && return 0
    done
    return 1
}

# Clicks where the program's own pointer lands at (x, y): it follows the X
# pointer's relative motion held inside the window, so a sweep to the bottom
# right and back to the top left corner puts it at (0, 0) whatever came
# before. Each move in a frame of its own. Button 1 by default.
click_program_at() { # <x> <y> [button]
    program_pointer_to "$1" "$2"
    xdotool click "${3:-1}"
    sleep 0.2
}

# Brings the program's own pointer to (x, y) as click_program_at does.
program_pointer_to() { # <x> <y>
    xdotool mousemove 1023 767
    sleep 0.3
    xdotool mousemove 0 0
    sleep 0.3
    xdotool mousemove "$1" "$2"
    sleep 0.3
}

# A run tree of the shipped configuration: a fresh conf/ (no settings, no
# video file) with the built data/ and program linked.
make_shipped_run_tree() { # <run tree> <folder>
    mkdir -p "$2/bin" "$2/logs" "$2/profiles"
    cp -r "$1/conf" "$2/conf"
    rm -f "$2/conf/settings.xml" "$2/conf/graphics.cfg"
    ln -s "$1/data" "$2/data"
    ln -s "$1/bin/dravonkel" "$2/bin/dravonkel"
}

# A run tree of its own for an edition: a fresh conf/ with the edition set,
# the built data/ linked entry by entry, except the folders named, which are
# copied, so that files the program writes there stay in the work folder.
make_run_tree() { # <run tree> <folder> <edition> [copied data folder...]
    local source="$1" folder="$2" edition="$3" entry
    shift 3
    mkdir -p "$folder/bin" "$folder/logs" "$folder/profiles" "$folder/data"
    cp -r "$source/conf" "$folder/conf"
    rm -f "$folder/conf/settings.xml" "$folder/conf/graphics.cfg"
    sed -i "s/<Application Edition=\"[A-Za-z]*\"/<Application Edition=\"$edition\"/" "$folder/conf/conf.xml"
    for entry in "$source/data"/*; do
        if printf '%s\n' "$@" | grep -qxF "$(basename "$entry")"; then
            cp -r "$entry" "$folder/data/"
        else
            ln -s "$entry" "$folder/data/"
        fi
    done
    ln -s "$source/bin/dravonkel" "$folder/bin/dravonkel"
}

# The analog altimeter's dial in the head-up display of a 1024x768 screen, at
# the lower left ("AltimeterOverlay/Panel" of data/gfx/general/HUD.overlay):
# the face's white numerals and its orange needle, which below 1,800 m stands
# in the dial's upper half. An empty or black panel, or one without the dial,
# fails.
expect_altimeter_dial() { # <picture> <what>
    local counts white needle above
    counts=$(convert "$1" -crop 205x207+20+538 +repage -depth 8 txt:- | awk '
        NR > 1 {
            split($1, at, /[,:]/); gsub(/[()]/, "", $2); split($2, c, ",")
            if (c[1] > 200 && c[2] > 200 && c[3] > 200) white++
            if (c[1] > 180 && c[2] > 40 && c[2] < 150 && c[3] < 100) { needle++; if (at[2] < 103) above++ }
        }
        END { printf "%d %d %d\n", white, needle, above }')
    read -r white needle above <<<"$counts"
    [ "${white:-0}" -ge 800 ] || fail "$2: the altimeter's numerals are not on screen ($white white pixels in its panel)"
    [ "${needle:-0}" -ge 200 ] || fail "$2: the altimeter's needle is not on screen ($needle needle pixels in its panel)"
    [ "${above:-0}" -ge $((needle * 3 / 4)) ] ||
        fail "$2: the altimeter's needle does not stand in the dial's upper half ($above of $needle pixels)"
}

# Whether the head-up display's blue panel of a hand's control is shown at
# (x, y) of a 1024x768 screen ("InputType" of data/gfx/general/HUD.overlay).
control_panel_shown() { # <picture> <x> <y>
    [ "$(convert "$1" -crop 14x14+$2+$3 +repage -format \
        "%[fx:(mean.b > 0.45 && mean.b > mean.r + 0.25 && mean.b > mean.g + 0.12) ? 1 : 0]" info:)" = 1 ]
}

# The panels' rows (rear risers, front risers, brakes) and the two hands' columns.
control_rows="rear:628 front:659 brakes:689"
control_columns="312 568"

# Whether the display names any control for either hand.
any_hand_control_shown() { # <picture>
    local row left
    for row in $control_rows; do
        for left in $control_columns; do
            control_panel_shown "$1" "$left" "${row#*:}" && return 0
        done
    done
    return 1
}

# Which control the display names for each hand: the panel of the rear
# risers, the front risers or the brakes (toggles) is shown on both sides, the
# other two are not.
expect_hand_controls() { # <picture> <rear|front|brakes> <what>
    local row left
    for row in $control_rows; do
        for left in $control_columns; do
            if [ "${row%%:*}" = "$2" ]; then
                control_panel_shown "$1" "$left" "${row#*:}" ||
                    fail "$3: the $2 panel is not shown at ($left, ${row#*:})"
            elif control_panel_shown "$1" "$left" "${row#*:}"; then
                fail "$3: the ${row%%:*} panel is shown at ($left, ${row#*:}), not only the $2"
            fi
        done
    done
}

# Pictures of the level: how much of a picture is of a kind, the instruments
# at the bottom and on the right left out. The share of near-black pixels (the
# world's edge shows black), of grass and crops (green over red and blue),
# and the number of pixels of the jumper's blue suit.
share_black() { # <picture>
    convert "$1" -alpha off -fx '(r < 0.06 && g < 0.06 && b < 0.06) ? 1 : 0' -format '%[fx:mean]' info:
}
share_ground() { # <picture>
    convert "$1" -alpha off -fx '(g > r && g > b && g > 0.25) ? 1 : 0' -format '%[fx:mean]' info:
}
jumper_pixels() { # <picture>
    convert "$1" -alpha off -fill black -draw "rectangle 945,420 1023,767" -draw "rectangle 0,680 1023,767" \
        -fx '(b > 0.25 && r < 0.2 * b && g < 0.5 * b) ? 1 : 0' -format '%[fx:int(mean * w * h)]' info:
}
# How many of the picture's 64 x 64 squares hold the colour (give or take
# 10 %): a drawn path crosses many, a spot of the colour one or two.
colour_squares() { # <picture> <colour>
    convert "$1" -alpha off -fuzz 10% -fill black +opaque "$2" -fill white -opaque "$2" \
        -scale 16x12! -threshold 0 -format '%[fx:int(mean * w * h + 0.5)]' info:
}

# A view of the level from the air, not of the world's edge: ground in the
# lower part at least, and no black band where the terrain ends.
expect_level_view() { # <picture> <what>
    awk -v g="$(share_ground "$1")" 'BEGIN { exit !(g > 0.2) }' || fail "$2: hardly any ground ($(basename "$1"))"
    awk -v k="$(share_black "$1")" 'BEGIN { exit !(k < 0.01) }' ||
        fail "$2: black where the world ends ($(basename "$1"): $(share_black "$1") of it)"
}

# The jumper is in the picture: his suit, a few hundred pixels at least.
expect_jumper() { # <picture> <what>
    local pixels
    pixels=$(jumper_pixels "$1")
    [ "${pixels:-0}" -ge 300 ] || fail "$2: the jumper is not in $(basename "$1") (${pixels:-0} pixels of his suit)"
}

# A path of the trajectory's first colour (pure red) across the picture.
expect_trajectory() { # <picture> <what>
    local squares
    squares=$(colour_squares "$1" "rgb(255,0,0)")
    [ "${squares:-0}" -ge 6 ] || fail "$2: no trajectory along $(basename "$1") (its colour in ${squares:-0} squares)"
}
