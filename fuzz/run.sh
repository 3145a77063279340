#!/bin/sh
# Builds the fuzz targets (the `fuzz` preset, clang) and runs each for a bounded time over a
# copy of its seed corpus, so the corpus in the repository stays as it is. Fails on the first
# crash, leaving the input that caused it in build/fuzz/crashes/.
#   sh fuzz/run.sh [SECONDS_PER_TARGET]   (default 30)
set -eu
seconds=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz --target fuzzers -j "${JOBS:-2}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build/fuzz/crashes
status=0
for target in svg_loader preferences nombre_en_chaine; do
  mkdir "$work/$target"
  cp fuzz/corpus/$target/* "$work/$target/"
  log="$work/$target.log"
  if build/fuzz/bin/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$root/build/fuzz/crashes/$target-" "$work/$target" > "$log" 2>&1; then
    result="no crash"
  else
    result="CRASH (input kept in build/fuzz/crashes/)"
    status=1
    tail -n 40 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz_$target: ${runs:-?} executions in $seconds s, $result"
done
exit $status
