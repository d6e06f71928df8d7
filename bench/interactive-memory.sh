#!/usr/bin/env bash
# Runs the interactive conversion on a night of one million observations, all
# kept, and checks that it completes and that its peak resident memory stays
# within 48 bytes per kept observation plus 2 MiB: the table is kept in
# memory a column at a time, never the lines.
#   bench/interactive-memory.sh [path/to/varistellar] [observations]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/bench/src/varistellar}")
count=${2:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 "$root/bench/long-night.py" "$count" lightcurve.txt
cp "$root/examples/sample-night/VARISTELLAR-input.txt" .
printf '\n\n\n\n\n\n\n\n\n\n' > answers.txt

start=$(date +%s%N)
status=0
peak=$( { /usr/bin/time -f '%M' "$binary" < answers.txt > console.txt; } 2>&1 | tail -n 1) || status=$?
end=$(date +%s%N)
limit=$(( (48 * count + 2 * 1024 * 1024) / 1024 ))
records=0
if [ -f lightcurve-aavso.txt ]; then records=$(( $(wc -l < lightcurve-aavso.txt) - 7 )); fi
printf 'observations: %d, run: %d ms, exit status %d, report records: %d\n' \
  "$count" $(( (end - start) / 1000000 )) "$status" "$records"
awk -v peak="$peak" -v count="$count" -v limit="$limit" 'BEGIN {
  printf "peak resident memory: %d KiB, %.1f bytes per kept observation all told; " \
         "limit %d KiB (48 bytes each + 2 MiB)\n", peak, peak * 1024 / count, limit }'
test "$status" -eq 0
test "$records" -eq "$count"
test "$peak" -le "$limit"
