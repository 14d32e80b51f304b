#!/usr/bin/env bash
# Builds everything and runs every test: the Release build with all layers,
# every layer again under AddressSanitizer and UBSan (the graphs offscreen),
# then each libFuzzer target of tests/fuzz for a bounded time. Warnings are
# errors in every build; any test failure or fuzzing finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=2
fuzz_seconds=${VOREL_FUZZ_SECONDS:-60}
export QT_QPA_PLATFORM=offscreen
launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOREL_WERROR=ON "${launcher[@]}"
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DVOREL_SANITIZE=ON -DVOREL_WERROR=ON "${launcher[@]}"
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0" \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVOREL_FUZZ=ON -DVOREL_WERROR=ON "${launcher[@]}"
cmake --build build-fuzz -j"$jobs"
mkdir -p build-fuzz/findings
for target in reader settings batch; do
  # New inputs go to a scratch folder; the seeds in the repository stay as they are.
  scratch=$(mktemp -d)
  echo "Fuzzing $target for ${fuzz_seconds} s"
  if ! ./build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$fuzz_seconds" -timeout=30 \
      -rss_limit_mb=2048 -max_len=2048 -print_final_stats=1 \
      -artifact_prefix=build-fuzz/findings/"$target"- "$scratch" tests/fuzz/corpus/"$target" \
      > build-fuzz/findings/"$target".log 2>&1; then
    tail -n 60 build-fuzz/findings/"$target".log
    rm -rf "$scratch"
    echo "fuzz_$target found a failing input (build-fuzz/findings/)" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' build-fuzz/findings/"$target".log || true
  rm -rf "$scratch"
done
echo "Fuzzing found nothing."
