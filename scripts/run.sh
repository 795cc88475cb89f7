#!/usr/bin/env bash
# Installs what is missing, builds the release program and runs the gallery.
# Without a display (DISPLAY and WAYLAND_DISPLAY unset) it runs headless and writes a PNG of the
# screen to out/screens/ each time the screen changes, instead of opening a window.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
pictarium_install_deps

cmake --preset release >/dev/null
cmake --build --preset release --target pictarium

args=("$@")
headless_given=false
for arg in "$@"; do
  case "$arg" in
    --headless|--script|--script=*|--screens|--screens=*|--parse-only|--help|--version)
      headless_given=true ;;
  esac
done
if ! $headless_given && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  mkdir -p out/screens
  echo "No display found: running headless. Screenshots of what the gallery shows go to out/screens/ (Ctrl+C to stop)."
  args=(--headless --screens out/screens "${args[@]}")
fi
exec build/release/app/pictarium "${args[@]}"
