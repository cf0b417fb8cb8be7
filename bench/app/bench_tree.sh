# Sourced by the program's benchmark scripts. Builds the program, runs the
# calling script again under a virtual screen, and there gives it a run tree
# of its own in build/bench-work/<name> (bin/, logs/, profiles/, a fresh copy
# of conf/ or of $2, the built data/), entered as its bin/ folder. Sets $top,
# $build and $work.
#   source bench_tree.sh <name> [conf folder] -- "$@"
bench_name="$1"
bench_conf="${2:-}"
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${SDS_BUILD_DIR:-$top/build}"

if [ -z "${SDS_BENCH_XVFB:-}" ]; then
    "$top/tools/build.sh" >/dev/null
    SDS_BENCH_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "${@:4}"
fi

[ -e /dev/snd ] || export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
work="$build/bench-work/$bench_name"
rm -rf "$work"
mkdir -p "$work/bin" "$work/logs" "$work/profiles"
cp -rL "${bench_conf:-$build/run/conf}" "$work/conf"
rm -f "$work/conf/settings.xml" "$work/conf/graphics.cfg"
ln -s "$build/run/data" "$work/data"
cd "$work/bin"

# Ends the program: SIGTERM, ten seconds to go, then SIGKILL.
stop_program() { # <pid>
    kill -TERM "$1" 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
