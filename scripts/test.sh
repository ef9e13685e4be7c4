#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Widget tests run on Qt's
# offscreen platform; tests labelled "xvfb" (they render through OpenGL or grab the screen)
# run under xvfb-run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build" bash "$root/scripts/build.sh" "$@"
export QT_QPA_PLATFORM=offscreen
# Used by sanitizer builds only (-DMOVARIN_SANITIZE=ON); harmless otherwise.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" -LE xvfb --no-tests=error
if ctest -N -L xvfb | grep -q "Total Tests: [1-9]"; then
  unset QT_QPA_PLATFORM
  xvfb-run -a ctest --output-on-failure -L xvfb
fi
