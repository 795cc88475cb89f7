#!/usr/bin/env bash
# The imaging benchmarks in one run, side by side with the tools users would pick instead:
#  - thumbnails to 68x64 of 12-MP and 3-MP JPEGs, with and without an EXIF thumbnail: our
#    GetThumbnail against a plain libjpeg-turbo 1/8-scale decode (the floor) and vipsthumbnail;
#  - bitmaps fitted to 240x400 and 480x800 screens (RGB565) against libjpeg-turbo decoding at
#    the eighth a scaled decode needs;
#  - a JPEG q80 encode of a 12-MP bitmap against tjbench and in-process tjCompress2.
# Settings: PICTURES (per set, default 6), ROUNDS (default 7), BUILD_DIR, CORPUS_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
pictures=${PICTURES:-6}
rounds=${ROUNDS:-7}
build=${BUILD_DIR:-build/imaging-bench}
corpus=${CORPUS_DIR:-build/bench-corpus}
sets=(12mp 12mp-exif 3mp 3mp-exif)

# Build output only when something fails.
quietly() {
  local out
  out=$("$@" 2>&1) || { echo "$out" | tail -n 40 >&2; exit 1; }
}
quietly cmake --preset release -B "$build" -DPICTARIUM_BUILD_BENCH=ON -DPICTARIUM_BUILD_TESTS=OFF
quietly cmake --build "$build" -j2 --target imaging_compare
bash bench/imaging/make_corpus.sh "$corpus" "$pictures"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# Wall and CPU seconds ("R U S") of one vipsthumbnail process over the given files.
vips_once() {
  local TIMEFORMAT='%R %U %S'
  { time VIPS_CONCURRENCY=1 vipsthumbnail -s 68x64 -o "$work/%s.jpg" "$@" >/dev/null; } 2>&1
}

# Per picture, without the process start: (all files - first file alone) / (files - 1), in ms,
# as "WALL/CPU", the median over the rounds.
vips_per_picture() {
  local files=("$@") round all one
  for ((round = 0; round < rounds; round++)); do
    all=$(vips_once "${files[@]}")
    one=$(vips_once "${files[0]}")
    echo "$all $one" | awk -v n="${#files[@]}" \
      '{printf "%.3f %.3f\n", ($1 - $4) * 1000 / (n - 1), ($2 + $3 - $5 - $6) * 1000 / (n - 1)}'
  done > "$work/vips.txt"
  echo "$(cut -d' ' -f1 "$work/vips.txt" | median)/$(cut -d' ' -f2 "$work/vips.txt" | median)"
}

args=(--root "$corpus" --rounds "$rounds")
for set in "${sets[@]}"; do
  files=("$corpus/$set"/pic_*.jpg)
  cat "${files[@]}" >/dev/null  # the same warm page cache for every side
  args+=(--vips "$set=$(vips_per_picture "${files[@]}")")
  [[ $set == *-exif ]] && args+=(--exif-set "$set") || args+=(--set "$set")
  for file in "${files[@]}"; do args+=("${file#"$corpus"/}"); done
done

# tjbench's own figure for compressing the same picture: 4:2:0, q80, frames per second.
fps=$(tjbench "$corpus/encode.ppm" 80 -subsamp 420 -componly -nowrite -benchtime 5 -warmup 1 |
  awk '/Compress/ && /Frame rate/ {print $(NF - 1)}')
[ -n "$fps" ] || { echo "imaging_bench: could not read tjbench's frame rate" >&2; exit 1; }
args+=(--encode "$corpus/encode.ppm" --tjbench "$(awk -v f="$fps" 'BEGIN {printf "%.3f", 1000 / f}')")

echo "ms per picture; w/c = wall/CPU time; ratios are ours over the other side" \
  "(medians of $rounds rounds, $pictures pictures per set)"
"$build/bench/imaging/imaging_compare" "${args[@]}"
