#!/usr/bin/env bash
# Times `varistellar convert` on a night of one million observations beside
# the reference converter (std::from_chars / std::to_chars, the same report),
# alternately in one run, and reports the medians, their ratio (goal: at most
# 1.25) and convert's peak resident memory (goal: below 4 MiB). Both write
# the report through a temporary file, fsync and rename, so the elapsed times
# include the same disk work; the CPU times leave it out.
#   bench/convert-speed.sh [path/to/varistellar] [path/to/reference_convert] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/bench/src/varistellar}")
reference=$(realpath "${2:-$root/build/bench/bench/reference_convert}")
rounds=${3:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 "$root/bench/long-night.py" 1000000 lightcurve.txt
cp "$root/examples/sample-night/VARISTELLAR-input.txt" .
printf '' > empty.txt

# The reference's rounding of exact decimal ties (0.00450 as MERR) is the
# standard library's, not the report's, so its bytes are compared apart from
# those: every line that differs must differ only by one in the last digit.
"$binary" convert --quiet .
mv lightcurve-aavso.txt convert-report.txt
"$reference" .
python3 - <<'PY'
convert = open("convert-report.txt", "rb").read().split(b"\r\n")
reference = open("lightcurve-aavso.txt", "rb").read().split(b"\r\n")
assert len(convert) == len(reference), "the two reports have different numbers of lines"
differing = 0
for ours, theirs in zip(convert, reference):
    if ours == theirs:
        continue
    differing += 1
    for a, b in zip(ours.split(b","), theirs.split(b",")):
        assert a == b or abs(round(float(a) - float(b), 6)) == 0.001, (ours, theirs)
print("reports: %d lines, %d differ, each only by one in a last digit"
      % (len(convert) - 1, differing))
PY
rm convert-report.txt

python3 "$root/bench/time_runs.py" --warmup 2 "$rounds" \
  convert empty.txt "$binary" convert --quiet . -- \
  reference empty.txt "$reference" .

python3 - <<'PY'
import json
s = json.load(open("timings.json"))
c, r = s["convert"], s["reference"]
print("convert / reference = %.3f elapsed, %.3f CPU (goal <= 1.25)"
      % (c["median_ms"] / r["median_ms"], c["cpu_median_ms"] / r["cpu_median_ms"]))
PY

# GNU time reports the program's own peak, not that of a forked copy of the timer.
peak=$( { /usr/bin/time -f '%M' "$binary" convert --quiet . > /dev/null; } 2>&1 | tail -n 1)
echo "convert peak resident memory: ${peak} KiB (goal < 4096 KiB)"
