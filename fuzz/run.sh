#!/bin/sh
# sh fuzz/run.sh [SECONDS_PER_TARGET, 30 by default]: builds the fuzz targets (the `fuzz` preset,
# clang) and runs each over a copy of its seed corpus. Fails on a crash, its input kept in
# build/fuzz/crashes/.
set -eu
cd "$(dirname "$0")/.."
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz --target fuzz_svg_loader fuzz_preferences fuzz_nombre_en_chaine -j "${JOBS:-2}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build/fuzz/crashes
for target in svg_loader preferences nombre_en_chaine; do
  cp -r fuzz/corpus/$target "$work/"
  result="no crash"
  build/fuzz/bin/fuzz_$target -max_total_time="${1:-30}" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crashes/$target-" "$work/$target" > "$work/log" 2>&1 ||
    { result="CRASH (input kept in build/fuzz/crashes/)" status=1; tail -n 40 "$work/log"; }
  echo "fuzz_$target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log") executions in ${1:-30} s, $result"
done
exit ${status:-0}
