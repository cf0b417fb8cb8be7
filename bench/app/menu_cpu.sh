#!/usr/bin/env bash
# Processor time the program takes while it idles at its main menu, under a
# virtual screen: the cores it keeps busy (1.0 = one core all the time), with
# the default frame limit and with "--FrameLimit 60". The headline, last, is
# menu_cores: the default settings' figure.
#   bench/app/menu_cpu.sh [seconds]
# Each run starts the program at the main menu, waits until the menu has been
# up for two seconds, reads the process's user and system time over the given
# span (default 5 s), and ends the program with SIGTERM. The runs share one
# Xvfb server and a run tree of their own in build/bench-work/menu_cpu.
# SDS_MENU_CPU_PROGRAM and SDS_MENU_CPU_CONF measure another build of the
# program with its conf/ folder, such as one from before a change.
set -euo pipefail
span="${1:-5}"
program="${SDS_MENU_CPU_PROGRAM:-}"
source "$(dirname "${BASH_SOURCE[0]}")/bench_tree.sh" menu_cpu "${SDS_MENU_CPU_CONF:-}" -- "$@"
program="${program:-$build/run/bin/dravonkel}"

ticks_per_second=$(getconf CLK_TCK)

# User plus system time of the process, in clock ticks.
cpu_ticks() { # <pid>
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# The cores the program keeps busy at its main menu with these options.
measure() { # <options...>
    rm -f ../logs/dravonkel.log
    "$program" --StartState MainMenu --Silent "$@" 2>/dev/null &
    local pid=$! deadline=$((SECONDS + 60))
    until grep -qs "Entering Menu mode" ../logs/dravonkel.log; do
        if ! kill -0 $pid 2>/dev/null || [ $SECONDS -ge $deadline ]; then
            echo "the program did not reach its main menu (see $work/logs/dravonkel.log)" >&2
            exit 1
        fi
        sleep 0.05
    done
    sleep 2
    local before after
    before=$(cpu_ticks $pid)
    sleep "$span"
    after=$(cpu_ticks $pid)
    stop_program $pid
    awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$span" 'BEGIN { printf "%.2f\n", t / hz / s }'
}

default=$(measure)
echo "idle main menu, default frame limit: $default cores"
limited=$(measure --FrameLimit 60)
echo "idle main menu, --FrameLimit 60: $limited cores"
echo "menu_cores_framelimit60=$limited"
echo "menu_cores=$default"
