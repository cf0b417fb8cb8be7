#!/usr/bin/env bash
# Installs, builds and starts the simulator from its run tree. Extra arguments
# go to the program. Without a display it cannot be shown: a short
# demonstration then runs on a virtual screen and keeps pictures of it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${SDS_BUILD_DIR:-$top/build}"

"$top/tools/build.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: the program cannot be shown here. Running a short demonstration on a"
  echo "virtual screen (Xvfb) instead, keeping pictures of it."
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$top/tools/demo.sh" "$build/run" "$build/demo"
fi
cd "$build/run/bin"
exec ./dravonkel "$@"
