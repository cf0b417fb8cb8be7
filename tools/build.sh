#!/usr/bin/env bash
# Installs what is missing, configures and builds into build/ (or $SDS_BUILD_DIR).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${SDS_BUILD_DIR:-$top/build}"

"$top/tools/install-deps.sh"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE="${SDS_BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
