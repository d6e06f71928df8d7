#!/usr/bin/env bash
# Times `varistellar check` on convert's report of a night of 1,000,000
# observations beside mawk counting the lines that do not have 15 fields
# (the floor: reading the file and splitting it at the delimiter), alternately
# in one run; counts the instructions of both on the report's first 100,000
# rows (valgrind's callgrind: the same figure on any processor, under any
# load); then check's peak resident memory.
#   bench/check-speed.sh [path/to/varistellar] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/release/src/varistellar}")
rounds=${2:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 "$root/bench/long-night.py" 1000000 t.txt
"$binary" convert --quiet --table t.txt --parameters "$root/examples/sample-night/VARISTELLAR-input.txt" \
  --report r.txt 2>/dev/null
printf '' > empty.txt
printf 'report: %d observations, %d MiB\n' "$(grep -vc '^#' r.txt)" $(($(stat -c %s r.txt) / 1024 / 1024))

python3 "$root/bench/time_runs.py" "$rounds" \
  check empty.txt "$binary" check r.txt -- \
  mawk empty.txt mawk -F, 'NF != 15 { n++ } END { print n + 0 }' r.txt

python3 - <<'PY'
import json
s = json.load(open("timings.json"))
c, m = s["check"]["median_ms"], s["mawk"]["median_ms"]
print("time: check %.1f ms, mawk %.1f ms; check / mawk = %.2f (goal <= 1.3)" % (c, m, c / m))
PY
head -n 100007 r.txt > first.txt
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    sed -n 's/^==[0-9]*== Collected : \([0-9]*\)$/\1/p'
}
ci=$(instructions "$binary" check first.txt)
mi=$(instructions mawk -F, 'NF != 15 { n++ } END { print n + 0 }' first.txt)
python3 -c "import sys; c, m = int(sys.argv[1]), int(sys.argv[2]); print('instructions, first 100,000 rows: check %d, mawk %d; check / mawk = %.3f (goal <= 1.15)' % (c, m, c / m))" "$ci" "$mi"
peak=$( { /usr/bin/time -f '%M' "$binary" check r.txt > /dev/null; } 2>&1 | tail -n 1)
printf 'check peak resident memory: %s KiB (goal < 4096 KiB)\n' "$peak"
