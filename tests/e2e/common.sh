# Helpers of the end-to-end scripts, sourced by them: checks that count
# failures, waits on the log and on the process, and pictures of the screen.
# The scripts run in bin/ of their run tree; the log is ../logs/dravonkel.log.
# Needs $work (a scratch folder) to be set.
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

# The main menu over its background: sky at the top, the menu panel beside
# the buttons, grass at the bottom.
expect_main_menu() { # <picture>
    expect_colour "$1" 8 8 19 58 107 "sky"
    expect_colour "$1" 375 480 20 27 56 "menu panel"
    expect_colour "$1" 650 480 20 27 56 "menu panel"
    expect_colour "$1" 8 760 65 112 53 "grass"
}

# Keeps a picture of the screen once it is still (two captures alike) and,
# unless "dark" is given, bright: fades run on frame time, which a slow machine
# stretches. False after the timeout, with the last capture kept.
capture_still() { # <picture> <seconds> [dark]
    local deadline=$((SECONDS + $2)) previous="$work/previous-capture.png"
    import -window root "$previous"
    while [ $SECONDS -lt $deadline ]; do
        sleep 0.2
        import -window root "$1"
        if compare -metric AE "$previous" "$1" null: 2>/dev/null; then
            [ "${3:-}" = dark ] || is_bright "$1" && return 0
        fi
        cp "$1" "$previous"
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
