#!/usr/bin/env bash
# Installs, builds and starts the simulator from its run tree. Without a display
# it starts under Xvfb. Extra arguments go to the program.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${SDS_BUILD_DIR:-$top/build}"

"$top/tools/build.sh"
cd "$build/run/bin"
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: starting under Xvfb (a virtual screen; nothing is shown)."
  exec xvfb-run -a -s "-screen 0 1024x768x24" ./dravonkel "$@"
fi
exec ./dravonkel "$@"
