#!/usr/bin/env bash
# Whole-process timings of the release program, reported as medians over RUNS runs:
#  - start-up to the first painted frame, headless: a start whose script quits as soon as the
#    program is first idle (its window painted), so the time is start-up + first frame + shutdown;
#  - hand-over round trip: a second start that finds the running instance, sends its request
#    and waits until the running instance has re-initialised.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${RUNS:-20}"
binary="${PICTARIUM_BINARY:-build/release/app/pictarium}"
[ -x "$binary" ] || { cmake --preset release >/dev/null && cmake --build --preset release --target pictarium; }

work=$(mktemp -d)
trap 'kill $first 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/device" "$work/runtime" && chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
common=(--root "$work/device" --registry "$work/registry.db" --headless)

now_ms() { date +%s%N | cut -b1-13; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

printf 'quit\n' > "$work/quit.txt"
"$binary" "${common[@]}" --script "$work/quit.txt" >/dev/null  # first run creates the device
startup=$(for _ in $(seq "$runs"); do
  start=$(now_ms); "$binary" "${common[@]}" --script "$work/quit.txt" >/dev/null; end=$(now_ms)
  echo $((end - start))
done | median)
echo "start-up to first painted frame, then exit (headless): $startup ms (median of $runs runs)"

printf 'wait 600000\nquit\n' > "$work/wait.txt"
"$binary" "${common[@]}" --script "$work/wait.txt" --debug-log "$work/first.log" >/dev/null &
first=$!
for _ in $(seq 200); do grep -q 'Initailize() : done' "$work/first.log" 2>/dev/null && break; sleep 0.05; done
handover=$(for i in $(seq "$runs"); do
  folder=$([ $((i % 2)) -eq 0 ] && echo 'My Documents' || echo 'My Documents\My Pictures')
  start=$(now_ms)
  "$binary" "${common[@]}" ":path \"\\$folder\" :type IMAGE" >/dev/null
  end=$(now_ms)
  echo $((end - start))
done | median)
echo "hand-over round trip (second process, start to exit): $handover ms (median of $runs runs)"
