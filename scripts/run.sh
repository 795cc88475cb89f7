#!/usr/bin/env bash
# Installs what is missing, builds the release program and runs the gallery.
#
# With no arguments it shows the demo device: out/demo-device is the device folder,
# out/demo-card the storage card and out/demo-registry.db the settings, so your own device is
# untouched. The first run fills them with demo pictures, sounds and documents and opens the
# camera folder (delete out/demo-* to start again).
#
# Without a display (DISPLAY and WAYLAND_DISPLAY unset) it runs headless: with no arguments it
# runs scripts/screens.script and writes screenshots of the main screens to out/screens/;
# with arguments it writes a PNG of the screen to out/screens/ each time the screen changes.
#
# PICTARIUM_BUILD_DIR chooses the build folder (default build/release).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
pictarium_install_deps

build_dir="${PICTARIUM_BUILD_DIR:-build/release}"
cmake --preset release -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target pictarium
program="$build_dir/app/pictarium"

no_display=false
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  no_display=true
fi

if [ $# -eq 0 ]; then
  mkdir -p out/demo-card
  demo=(--root out/demo-device --card out/demo-card --registry out/demo-registry.db)
  if $no_display; then
    mkdir -p out/screens
    echo "No display found: running headless. Screenshots of the demo device go to out/screens/."
    exec "$program" "${demo[@]}" --headless --script scripts/screens.script
  fi
  exec "$program" "${demo[@]}"
fi

args=("$@")
headless_given=false
for arg in "$@"; do
  case "$arg" in
    --headless|--script|--script=*|--screens|--screens=*|--parse-only|--help|--version)
      headless_given=true ;;
  esac
done
if ! $headless_given && $no_display; then
  mkdir -p out/screens
  echo "No display found: running headless. Screenshots of what the gallery shows go to out/screens/ (Ctrl+C to stop)."
  args=(--headless --screens out/screens "${args[@]}")
fi
exec "$program" "${args[@]}"
