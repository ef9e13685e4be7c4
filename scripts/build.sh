#!/usr/bin/env bash
# Installs missing Debian packages, configures and builds into ./build (or $BUILD_DIR).
# Extra CMake arguments are passed through, e.g. -DMOVARIN_SANITIZE=ON.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
build="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja "$@"
cmake --build "$build" -j "$(nproc)"
