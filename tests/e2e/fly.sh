# Flying a jump by keys in the real program under a virtual screen, from the
# closed help screen of the first jump to the landing's verdict. Shared by the
# end-to-end jump (tests/e2e/jump.sh) and the demonstration (tools/demo.sh);
# sourced after common.sh. Each step waits on the phase lines of the log, so
# that a jump started later in its course (under the canopy) skips the steps
# it has no phase for. The caller defines jump_step <step>, called from a
# process of its own as each step is reached (count-down, exit, free-fall,
# pull, canopy-flight, flare, verdict), to keep its picture, and may define
# jump_hands_on_risers, called under canopy before the hands leave the risers.

tap() { # <key>
    xdotool keydown "$1"
    sleep 0.15
    xdotool keyup "$1"
    sleep 0.3
}

hold() { # <key> <seconds>
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

logged() { # <text>
    grep -qF -- "$1" ../logs/dravonkel.log 2>/dev/null
}

# Waits until a landing's state has begun (its camera and verdict set); false after the timeout.
wait_for_landing_state() { # <seconds>
    local deadline=$((SECONDS + $1))
    until grep -qE "C(LandingNormal|PLFLanding|CrashLanding)State$" ../logs/dravonkel.log 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

# The shipped aircraft starts 700 m east of the target, on its line, and flies
# west at 50 m/s once the count-down is over. Out of the door some 100 m short
# of the target and pulled soon, the jumper is thrown on some 250 m past it;
# the canopy opens facing back east, and is steered to the target.
door_seconds=12
# Under the canopy the jumper logs each whole metre of his height from 10 m
# down: the steering stops at the first, the flare starts at this one, keyed
# as soon as the line is written. The keys reach the canopy a while later,
# sinking about 3.1 m/s. Into the default preset's wind a flare that reaches
# the canopy 2.8 to 4.2 m up is a landing on the feet, one higher or lower a
# PLF, under which the canopy comes down over the jumper: keyed at the log's
# 4 m, the flare reaches the canopy near the middle of that band on a quiet
# machine; one too busy to draw ten frames a second keys it late, for a PLF.
flare_line="Under canopy at 4 m"

# Waits until the log has a line matching the pattern, reading it as it is
# written (no pause between looks); false after the timeout.
wait_for_log_line_now() { # <extended regex> <seconds>
    local found
    grep -m1 -qE -- "$1" < <(timeout "$2" tail -n +1 -F ../logs/dravonkel.log 2>/dev/null)
    found=$?
    kill $! 2>/dev/null
    return $found
}

# Where the landing target shows on the screen: the x of the middle of its
# yellow face, or nothing. The canopy's yellow cells are far larger, the
# jumper's yellow trim lies in the middle of the screen, where the chase
# camera keeps him; the instruments are left out.
target_on_screen() {
    import -window root "$work/steer.png"
    convert "$work/steer.png" -alpha off -fuzz 12% -fill black +opaque "rgb(240,210,60)" \
        -fill white -opaque "rgb(240,210,60)" -fill black -draw "rectangle 945,420 1023,767" \
        -draw "rectangle 0,680 1023,767" -define connected-components:verbose=true \
        -define connected-components:area-threshold=10 -connected-components 8 null: 2>/dev/null |
        awk '/srgba\(255,255,255/ {
                 split($3, c, ","); area = $4
                 if (area < 20 || area > 3000) next
                 if (c[1] > 440 && c[1] < 590 && c[2] > 290 && c[2] < 470) next
                 if (area > best) { best = area; x = c[1] }
             }
             END { if (best) printf "%d", x }'
}

# Steers the canopy toward the landing target for some seconds, by where the
# target shows on the screen: the chase camera looks along the way the jumper
# flies, so a target left of the middle is to his left. Not seen yet, it is
# looked for by turning left; seen before, it is now under him or behind.
steer_to_target() {
    local x turn seen=0
    while ! logged "Under canopy at 10 m" && ! logged "Collision with HSpeed="; do
        x=$(target_on_screen)
        if [ -z "$x" ]; then
            [ $seen -eq 0 ] && hold a 0.6
            continue
        fi
        seen=1
        x=$((x - 512))
        turn=$(awk -v x="$x" 'BEGIN { t = (x < 0 ? -x : x) / 800; if (t > 0.6) t = 0.6; printf "%.2f", t }')
        if [ "$x" -lt -60 ]; then
            hold a "$turn"
        elif [ "$x" -gt 60 ]; then
            hold d "$turn"
        else
            sleep 0.5
        fi
    done
}

# Keeps the step's picture from a process of its own, after a pause if
# given, so that the keys are not held up: a pull late by a picture taken on a
# busy machine ends the jump in the ground.
snap() { # <step> [seconds]
    (sleep "${2:-0}" && jump_step "$1") &
    snaps="$snaps $!"
}

# Flies the jump; false, with the failure reported, when a phase does not
# come. Returns once the pictures are kept.
fly_jump() {
    snaps=""
    fly_steps
    local flown=$?
    local pid
    for pid in $snaps; do
        wait "$pid"
    done
    return $flown
}

fly_steps() {
    local at_door=0
    local deadline=$((SECONDS + 30))
    until logged "Restored input mode: ExitPlane" || logged "Restored input mode: CanopyRide"; do
        [ $SECONDS -lt $deadline ] || { fail "the jump did not start"; return 1; }
        sleep 0.1
    done
    logged "Restored input mode: ExitPlane" && at_door=1
    # "Ready", "Set", "Go!" over the paused jump: about 3 s.
    snap count-down 1
    sleep 3.5
    # The chase camera (the steering looks where the target shows), the
    # first view of some editions only.
    tap 7
    if [ $at_door -eq 1 ]; then
        sleep $door_seconds
        tap space # out of the door, hanging on
        wait_for_log "HangingOutOfPlaneState" 10 || { fail "no exit"; return 1; }
        snap exit
        tap space # let go
        wait_for_log "CFreeFallState" 10 || { fail "no free fall"; return 1; }
        # Pulled at once (the aircraft flies 200 m over the ground); the
        # picture a moment later, away from the aircraft.
        snap free-fall 0.7
        tap space
        wait_for_log "Inflating canopy" 20 || { fail "no canopy out of its bag"; return 1; }
        snap pull
    fi
    wait_for_log "CCanopyRideState" 20 || { fail "no canopy flight"; return 1; }
    # The verdict and the landing camera stay for the landing's two seconds
    # of wall clock, then the jump player's camera takes over: the picture is
    # taken as soon as the landing's state has set the camera (its line
    # follows the verdict's), and a few frames drawn, whatever the keys do.
    (wait_for_log " is in " 150 && wait_for_landing_state 10 && sleep 0.5 && jump_step verdict) &
    local verdict=$!
    snap canopy-flight 1
    sleep 1
    # The caller may look at the hands on the rear risers before they leave them.
    if declare -F jump_hands_on_risers >/dev/null; then
        jump_hands_on_risers
    fi
    # The hands go from the rear risers to the toggles, which A and D pull.
    tap x
    tap v
    # Where one key drives both hands (the event copy), a key only brakes:
    # the jump starts heading for the target, and flies straight to it.
    logged "Using Mod: EventCopy" || steer_to_target
    # Hands up to the flare height, then both toggles down to the ground.
    wait_for_log_line_now "$flare_line|Collision with HSpeed=" 120
    if ! logged "Collision with HSpeed="; then
        xdotool keydown a keydown d
        snap flare 0.3
    fi
    wait_for_log "Collision with HSpeed=" 90
    local landed=$?
    [ $landed -eq 0 ] || kill $verdict 2>/dev/null
    wait $verdict
    local judged=$?
    xdotool keyup a keyup d
    [ $landed -eq 0 ] || { fail "no landing"; return 1; }
    [ $judged -eq 0 ] || { fail "no verdict"; return 1; }
}
