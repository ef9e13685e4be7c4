#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Each Qt test program carries its
# platform in its CTest properties (offscreen; xcb for the tests labelled "xvfb", which
# render through OpenGL or grab the screen and run here under xvfb-run).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build" bash "$root/scripts/build.sh" "$@"
# The test programs carry the suppressions in their CTest properties; the other tests (the
# smoke run, the shapefile check) get them here. Used by sanitizer builds only.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
cd "$build"
ctest --output-on-failure -j "$(nproc)" -LE xvfb --no-tests=error
if ctest -N -L xvfb | grep -q "Total Tests: [1-9]"; then
  xvfb-run -a ctest --output-on-failure -L xvfb
fi
