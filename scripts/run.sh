#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Extra arguments go to CMake, as
# with scripts/build.sh; a project file can be opened from the program's start page.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
BUILD_DIR="$build" bash "$root/scripts/build.sh" "$@"
exec "$build/bin/movarin"
