#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite in the release build and in the
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
pictarium_install_deps

# Tests make their own device folders, registries and runtime folders; keep them off the user's.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-dummy}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
for preset in release asan; do
  echo "== $preset build =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests =="
  ctest --preset "$preset" || status=1
done
exit $status
