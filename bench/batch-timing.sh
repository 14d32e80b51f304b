#!/usr/bin/env bash
# Wall time and peak resident memory of whole vorel-batch runs: read, covariance,
# full decomposition, reconstruction, write. Series of N points (two cosines, a
# trend and noise) with 5% of the values missing in runs of 1 to 20, and the
# a series of 100,000 points whose only gap (1,500 values) is longer than the
# window, which no method can bridge when gaps lie all around it.
#
#   bench/batch-timing.sh BUILD_DIR [SIZES...]     (default sizes 100000 1000000)
#
# Needs GNU time (/usr/bin/time, Debian package "time").
set -euo pipefail

build=${1:?usage: batch-timing.sh BUILD_DIR [SIZES...]}
shift
sizes=("${@:-100000}")
[ $# -eq 0 ] && sizes=(100000 1000000)
batch="$build/src/cli/vorel-batch"
[ -x "$batch" ] || { echo "no $batch" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# make_series N LONGGAP FILE: deterministic (awk's srand with a fixed seed).
make_series() {
  awk -v n="$1" -v longgap="$2" 'BEGIN {
    srand(20261210); pi = atan2(0, -1)
    target = longgap ? 0 : int(0.05 * n); m = 0
    while (m < target) {
      a = int(rand() * n); l = 1 + int(rand() * 20)
      for (t = a; t < a + l && t < n && m < target; ++t) if (!(t in miss)) { miss[t] = 1; ++m }
    }
    if (longgap) for (t = int(n / 2); t < int(n / 2) + 1500; ++t) miss[t] = 1
    print "x"
    for (t = 0; t < n; ++t) {
      if (t in miss) { print "nan"; continue }
      # noise: the sum of four uniforms, centred
      e = (rand() + rand() + rand() + rand() - 2) * 0.5
      printf "%.6f\n", sin(2 * pi * (t + 1) / 12) + 0.5 * cos(2 * pi * (t + 1) / 37) + 0.001 * (t + 1) + e
    }
  }' > "$3"
}

run() {  # LABEL FILE ARGS...
  local label=$1 file=$2
  shift 2
  /usr/bin/time -f "%e %M" -o "$scratch/time" "$batch" --window 1000 --threshold 1000 \
    --eigentriples 1-4 "$@" --output "$scratch/out.txt" "$file"
  read -r wall kb < "$scratch/time"
  printf '%-44s %8.2f s %8.0f MB\n' "$label" "$wall" "$((kb / 1024))"
}

printf '%-44s %10s %11s\n' "case (L = 1000, r = 4)" "wall" "peak RSS"
for n in "${sizes[@]}"; do
  make_series "$n" 0 "$scratch/s.txt"
  run "N = $n, projection" "$scratch/s.txt" --method projection
  run "N = $n, principal components" "$scratch/s.txt" --method pc
done
make_series 100000 1 "$scratch/long.txt"
run "N = 100000, gap of 1500, projection" "$scratch/long.txt" --method projection
