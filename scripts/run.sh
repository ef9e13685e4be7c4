#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Until the program exists,
# runs the library tests instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build" bash "$root/scripts/build.sh" "$@"
if [ -x "$build/bin/movarin" ]; then
  exec "$build/bin/movarin"
fi
echo "The program is not built yet; running the library tests."
cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" -LE xvfb
