#!/usr/bin/env bash
# Installs, builds and starts the simulator from its run tree. Extra arguments
# go to the program. Without a display it cannot be shown: a demonstration
# then runs on a virtual screen (a whole jump from the main menu to the jump
# player) and keeps pictures of its steps.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${SDS_BUILD_DIR:-$top/build}"

"$top/tools/build.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: the program cannot be shown here. Running a demonstration on a virtual"
  echo "screen (Xvfb) instead: a whole jump of the default preset, a picture of each step."
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$top/tools/demo.sh" "$build/run" "$build/demo"
fi
cd "$build/run/bin"
exec ./dravonkel "$@"
