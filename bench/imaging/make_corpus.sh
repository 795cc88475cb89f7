#!/usr/bin/env bash
# Makes the imaging benchmark's pictures once: COUNT 12-MP (4000x3000) and COUNT 3-MP (2048x1536)
# JPEGs at quality 90, 4:2:0, each plain and with an EXIF block holding a 160x120 thumbnail, plus
# encode.ppm (the first 12-MP picture decoded) for the encode comparison.
#   make_corpus.sh DIR [COUNT]
# A seeded plasma with Gaussian noise compresses like a photograph (about 3 MB at 12 MP) and is
# the same on every run. DIR/recipe names what was made; a different recipe makes it again.
set -euo pipefail
dir=${1:?usage: make_corpus.sh DIR [COUNT]}
count=${2:-6}
convert=/usr/bin/convert-im6.q16
recipe="1 count=$count plasma:fractal blur=0x1 noise=gaussian/0.4 q90 2x2 exif-thumb=160x120"

if [ -f "$dir/recipe" ] && [ "$(cat "$dir/recipe")" = "$recipe" ]; then
  exit 0
fi
work="$dir.making.$$"
trap 'rm -rf "$work"' EXIT
rm -rf "$work"
mkdir -p "$work"/{12mp,12mp-exif,3mp,3mp-exif}

# make_set LABEL WIDTHxHEIGHT FIRST_SEED
make_set() {
  local label=$1 size=$2 seed=$3 i name
  for ((i = 0; i < count; i++)); do
    name=$(printf 'pic_%02d.jpg' "$i")
    echo "corpus: $label/$name" >&2
    "$convert" -seed $((seed + i)) -size "$size" plasma:fractal -blur 0x1 -attenuate 0.4 \
      +noise Gaussian -strip -sampling-factor 2x2 -quality 90 "$work/$label/$name"
    "$convert" "$work/$label/$name" -resize '160x120!' -strip -quality 90 "$work/thumb.jpg"
    cp "$work/$label/$name" "$work/$label-exif/$name"
    exiftool -q -overwrite_original -n -Orientation=1 -ExifImageWidth="${size%x*}" \
      -ExifImageHeight="${size#*x}" "-ThumbnailImage<=$work/thumb.jpg" "$work/$label-exif/$name"
  done
}
make_set 12mp 4000x3000 1000
make_set 3mp 2048x1536 2000
"$convert" "$work/12mp/pic_00.jpg" "$work/encode.ppm"
rm -f "$work/thumb.jpg"
echo "$recipe" > "$work/recipe"

# Only a complete corpus takes the folder's place.
rm -rf "$dir"
mkdir -p "$(dirname "$dir")"
mv "$work" "$dir"
