#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for FUZZ_SECONDS (default 60). Findings are left in build/fuzz/findings/. FUZZ_TARGETS
# (names separated by spaces) runs only those; the default is every target in tests/fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
pictarium_install_deps

seconds="${FUZZ_SECONDS:-60}"
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g -O1"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DPICTARIUM_BUILD_TESTS=OFF -DPICTARIUM_BUILD_FUZZ=ON >/dev/null
if [ -n "${FUZZ_TARGETS:-}" ]; then
  read -r -a targets <<< "$FUZZ_TARGETS"
else
  targets=()
  for source in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build build/fuzz --target "${targets[@]}"
mkdir -p build/fuzz/findings build/fuzz/corpus/fuzz_command_line
# Seeds for the grammar: the request texts the camera and the shell pass, as UTF-16LE.
seed=0
for line in ':path "\My Documents\DCIM" :type IMAGE' ':from CAMERA :file "\a.jpg" :type image' \
            ':from CAMCORDER :path "\v" :type VIDEO' ':file "\d.txt" :path "\x" :type DOCUMENT'; do
  seed=$((seed + 1))
  printf '%s' "$line" | iconv -f UTF-8 -t UTF-16LE > "build/fuzz/corpus/fuzz_command_line/seed$seed"
done
# Seeds for the picture decoders: small pictures made by ImageMagick (and exiftool for EXIF).
seed_pictures() {
  local dir=$1 kind=$2
  [ -n "$(ls -A "$dir" 2>/dev/null)" ] && return 0
  case "$kind" in
    jpeg|exif)
      convert -size 24x16 gradient:red-blue "$dir/a.jpg"
      convert -size 24x16 gradient:red-blue -interlace Plane "$dir/p.jpg"
      convert -seed 1 -size 64x48 plasma:fractal "$dir/t.jpg"
      exiftool -q -overwrite_original -Orientation#=6 -GPSLatitude=10.5 -GPSLatitudeRef=N \
        -GPSLongitude=20.25 -GPSLongitudeRef=E -GPSAltitude=100 "-ThumbnailImage<=$dir/a.jpg" \
        "$dir/t.jpg" ;;
    png)
      convert -size 8x8 gradient: "$dir/g.png"
      convert -size 8x8 xc:none -fill red -draw 'point 1,1' "PNG32:$dir/a.png"
      convert -size 8x8 gradient: -colors 4 "PNG8:$dir/p.png"
      convert -size 8x8 gradient: -depth 16 "PNG48:$dir/d.png" ;;
    gif)
      convert -size 8x8 -delay 10 xc:red xc:blue -loop 0 "$dir/a.gif"
      convert -size 8x8 xc:none -fill red -draw 'point 1,1' "$dir/t.gif" ;;
    bmp)
      convert -size 8x5 gradient: -type Palette "BMP3:$dir/p.bmp"
      convert -size 8x5 gradient: "BMP3:$dir/t.bmp"
      convert -size 8x5 gradient: -colors 2 -type Bilevel "BMP3:$dir/m.bmp"
      convert -size 8x5 gradient: -compress RLE -type Palette "BMP3:$dir/r.bmp" ;;
    wbmp)
      convert -size 9x5 pattern:checkerboard "WBMP:$dir/a.wbmp" ;;
  esac
}

for target in "${targets[@]}"; do
  corpus="build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  case "$target" in
    fuzz_imaging_*) part=${target#fuzz_imaging_}; seed_pictures "$corpus" "${part%%_*}" ;;
  esac
  echo "== $target: ${seconds}s =="
  "build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -artifact_prefix=build/fuzz/findings/ \
    -print_final_stats=1 "$corpus"
done
