#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for FUZZ_SECONDS (default 60). Findings are left in build/fuzz/findings/.
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
targets=(fuzz_command_line fuzz_launch_record fuzz_dcf fuzz_drm_message fuzz_rights_xml fuzz_rights_wbxml)
cmake --build build/fuzz --target "${targets[@]}"
mkdir -p build/fuzz/findings build/fuzz/corpus/fuzz_command_line
# Seeds for the grammar: the request texts the camera and the shell pass, as UTF-16LE.
seed=0
for line in ':path "\My Documents\DCIM" :type IMAGE' ':from CAMERA :file "\a.jpg" :type image' \
            ':from CAMCORDER :path "\v" :type VIDEO' ':file "\d.txt" :path "\x" :type DOCUMENT'; do
  seed=$((seed + 1))
  printf '%s' "$line" | iconv -f UTF-8 -t UTF-16LE > "build/fuzz/corpus/fuzz_command_line/seed$seed"
done
for target in "${targets[@]}"; do
  corpus="build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: ${seconds}s =="
  "build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -artifact_prefix=build/fuzz/findings/ \
    -print_final_stats=1 "$corpus"
done
