#!/usr/bin/env bash
# Times a whole run on 1000 observations (standard input: ten empty lines,
# standard output to /dev/null) beside the awk peer doing the same conversion
# and beside cat of the same table (the floor: starting a process and moving
# the bytes), interleaved in one run; also reports peak resident memory.
# Beside them runs the floor (bench/run_floor.cpp): the run's own system work
# with no conversion, the least any program that shows each console line as
# it is finished can take here.
#   bench/whole-run.sh [path/to/varistellar] [path/to/run_floor]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/src/varistellar}")
floor=$(realpath "${2:-$root/build/bench/bench/run_floor}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
lines = ["JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE",
         "Aperture: 1, Filter: g, JD: heliocentric"]
for i in range(1000):
    lines.append("%.5f %.5f 0.0%04d 1.32272 0.02160 1.96095 0.03387 0.00569 1.%05d %.2f"
                 % (2456175.65873 + i * 0.00045, -0.63823 + (i % 97) * 0.00311, 3000 + i,
                    45156 - i * 7, 43.47 + i * 0.01))
open(work + "/lightcurve.txt", "w").write("\r\n".join(lines) + "\r\n")
PY
cp "$root/examples/sample-night/VARISTELLAR-input.txt" "$work/"
printf '\n\n\n\n\n\n\n\n\n\n' > "$work/answers.txt"
cp "$root/bench/peer.awk" "$work/"
cd "$work"

printf '' > empty.txt
"$binary" < answers.txt > transcript.txt
console_lines=$(wc -l < transcript.txt)
console_bytes=$(wc -c < transcript.txt)
report_bytes=$(wc -c < lightcurve-aavso.txt)
python3 "$root/bench/time_runs.py" 500 \
  varistellar answers.txt "$binary" -- \
  floor answers.txt "$floor" "$console_lines" "$console_bytes" "$report_bytes" -- \
  awk empty.txt awk -f peer.awk VARISTELLAR-input.txt lightcurve.txt -- \
  cat empty.txt cat lightcurve.txt

python3 - <<'PY'
import json
s = json.load(open("timings.json"))
v, f, a, c = (s[k]["median_ms"] for k in ("varistellar", "floor", "awk", "cat"))
print("varistellar / cat = %.2f (goal <= 1.25); varistellar / awk = %.2f (goal < 0.5)" % (v / c, v / a))
print("floor / cat = %.2f; floor / awk = %.2f: the least the two ratios can be on this machine"
      % (f / c, f / a))
PY

# GNU time reports the program's own peak, not that of a forked copy of the timer.
peak=$( { /usr/bin/time -f '%M' "$binary" < answers.txt > /dev/null; } 2>&1 | tail -n 1)
echo "varistellar peak resident memory: ${peak} KiB (goal < 4096 KiB)"
