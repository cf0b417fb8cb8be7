#!/usr/bin/env bash
# Frame times of the real program under the canopy, under a virtual screen
# drawn by Mesa's software renderer, the program and the screen pinned to
# four cores (0-3):
#   bench/app/canopy_frames.sh [seconds]
# The program starts straight into the default lesson's jump (the first
# preset over the default drop zone, under the open canopy) with its altitude
# raised to $SDS_CANOPY_FRAMES_ALTITUDE metres (default 150) so that the
# flight lasts beyond the span measured; the first jump's help is closed
# with a click. From the moment the log says the canopy flight is on, the
# frames of the given span (default 30 s) are counted: a preloaded library
# (sds_swap_times) writes the time of each swap of the window's buffers. A
# landing within the span fails the run. Prints the median and the 99th
# percentile of the frame times and the frames a second over the span.
# With SDS_CANOPY_FRAMES_PERF set, perf records the program's threads (the
# renderer's included) over the span into build/bench-work/canopy_frames/perf.data.
# SDS_CANOPY_FRAMES_PROGRAM and SDS_CANOPY_FRAMES_CONF measure another build
# of the program with its conf/ folder, such as one from before a change.
set -euo pipefail
if [ -z "${SDS_CANOPY_FRAMES_PINNED:-}" ]; then
    SDS_CANOPY_FRAMES_PINNED=1 exec taskset -c 0-3 "$0" "$@"
fi
span="${1:-30}"
altitude="${SDS_CANOPY_FRAMES_ALTITUDE:-150}"
program="${SDS_CANOPY_FRAMES_PROGRAM:-}"
source "$(dirname "${BASH_SOURCE[0]}")/bench_tree.sh" canopy_frames "${SDS_CANOPY_FRAMES_CONF:-}" -- "$@"
program="${program:-$build/run/bin/dravonkel}"
preload="$build/bench/app/libsds_swap_times.so"
[ -e "$preload" ] || { echo "no $preload: build the benchmarks" >&2; exit 1; }
log=../logs/dravonkel.log
swaps="$work/swaps.txt"

# The first preset's altitude, the one the default lesson starts at.
sed -i "0,/<Info Name=\"Altitude\" Units=\"Distance\">[^<]*</s//<Info Name=\"Altitude\" Units=\"Distance\">$altitude</" \
    ../conf/presets.xml

logged() { grep -qF -- "$1" $log 2>/dev/null; }

end_program() {
    stop_program $pid
}

give_up() {
    echo "$1 (see $work/logs/dravonkel.log)" >&2
    end_program
    exit 1
}

# Waits for the log line while the program runs.
await() { # <text> <seconds>
    local deadline=$((SECONDS + $2))
    until logged "$1"; do
        kill -0 $pid 2>/dev/null && [ $SECONDS -lt $deadline ] || give_up "no '$1' in the log"
        sleep 0.05
    done
}

rm -f "$swaps"
SDS_SWAP_TIMES="$swaps" LD_PRELOAD="$preload" "$program" --StartState GameMode --Silent 2>/dev/null &
pid=$!
trap end_program EXIT

# The first jump of a profile opens the help over the paused jump; its Close
# button, clicked where the program's own pointer lands (it follows the X
# pointer's relative motion), until the jump goes on.
await "Displaying wndHelp" 120
sleep 1
for _ in $(seq 10); do
    xdotool mousemove 1023 767 && sleep 0.3 && xdotool mousemove 0 0 && sleep 0.3
    xdotool mousemove 815 634 && sleep 0.3 && xdotool click 1
    for _ in $(seq 20); do
        logged "Restored input mode: CanopyRide" && break 2
        sleep 0.1
    done
done
await "Restored input mode: CanopyRide" 1
xdotool mousemove 1023 767
first=$(($(wc -l <"$swaps") + 1))
ticks_before=$(awk '{ print $14 + $15 }' /proc/$pid/stat)
if [ -n "${SDS_CANOPY_FRAMES_PERF:-}" ]; then
    perf record -g -o "$work/perf.data" -p $pid -- sleep "$span" >/dev/null 2>&1
else
    sleep "$span"
fi
ticks=$(($(awk '{ print $14 + $15 }' /proc/$pid/stat) - ticks_before))
sleep 1
! logged "Collision with HSpeed=" || give_up "the jumper landed within the span: raise SDS_CANOPY_FRAMES_ALTITUDE"
kill -0 $pid 2>/dev/null || give_up "the program ended"
cp "$swaps" "$work/swaps-kept.txt"
end_program
trap - EXIT

# Frame times over the span from the first frame after the canopy flight
# began: the gaps between successive swaps.
tail -n +"$first" "$work/swaps-kept.txt" |
    awk -v span="$span" 'NR == 1 { start = $1; last = $1; next }
        $1 - start > span * 1e9 { exit }
        { printf "%.3f\n", ($1 - last) / 1e6; total += $1 - last; last = $1 }
        END { printf "total %.6f\n", total / 1e9 > "/dev/stderr" }' 2>"$work/total.txt" |
    sort -n >"$work/frame_ms.txt"
frames=$(wc -l <"$work/frame_ms.txt")
[ "$frames" -gt 1 ] || give_up "no frames counted"
seconds=$(awk '{ print $2 }' "$work/total.txt")
median=$(awk -v n="$frames" 'NR == int((n + 1) / 2) { print; exit }' "$work/frame_ms.txt")
p99=$(awk -v n="$frames" 'BEGIN { r = int(0.99 * n + 0.999999); if (r < 1) r = 1 } NR == r { print; exit }' "$work/frame_ms.txt")
fps=$(awk -v n="$frames" -v s="$seconds" 'BEGIN { printf "%.1f", n / s }')
echo "$frames frames in ${seconds} s under the canopy; load: $(cut -d' ' -f1-3 /proc/loadavg)"
# Processor time of all the program's threads (the renderer's included) a
# frame: less moved by other work on the machine than the frame times.
awk -v t="$ticks" -v hz="$(getconf CLK_TCK)" -v n="$frames" -v s="$seconds" \
    'BEGIN { printf "processor time: %.2f cores, %.1f ms a frame\n", t / hz / s, 1000 * t / hz / n }'
echo "canopy_frame_ms_median=$median"
echo "canopy_frame_ms_p99=$p99"
echo "canopy_fps=$fps"
