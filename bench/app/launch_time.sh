#!/usr/bin/env bash
# Time from launching the program to the first frame of its main menu, under
# a virtual screen: the median of several runs (default 5).
#   bench/app/launch_time.sh [runs]
# Each run starts the program at the main menu, playing back an empty
# recording: the self tester logs "All events are played" at the start of the
# first frame, and the program ends two frames later. The runs share one
# Xvfb server and a run tree of their own in build/bench-work/launch_time.
set -euo pipefail
runs="${1:-5}"
source "$(dirname "${BASH_SOURCE[0]}")/bench_tree.sh" launch_time "" -- "$@"
echo '<RecordedEvents><Analog/><Discrete/></RecordedEvents>' >"$work/empty.xml"

times=()
for run in $(seq "$runs"); do
    rm -f ../logs/dravonkel.log
    start=$(date +%s%N)
    "$build/run/bin/dravonkel" --StartState MainMenu --PlayEvents ../empty.xml --DisableInputs --Silent &
    pid=$!
    until grep -qs "CSelfTester: All events are played" ../logs/dravonkel.log; do
        if ! kill -0 $pid 2>/dev/null; then
            echo "run $run: the program ended before its first frame (see $work/logs/dravonkel.log)" >&2
            exit 1
        fi
        sleep 0.002
    done
    ms=$((($(date +%s%N) - start) / 1000000))
    wait $pid
    echo "run $run: ${ms} ms"
    times+=("$ms")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
echo "launch to the first frame of the main menu: median ${median} ms over $runs runs"
