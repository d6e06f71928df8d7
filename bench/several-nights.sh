#!/usr/bin/env bash
# Times `varistellar convert` of a night of two filters, 500,000 observations
# each in a FOLDER of its own, into one report, beside `convert` of one
# 1,000,000-observation FOLDER, alternately in one run; reports the medians,
# their ratio (goal: at most 1.3) and the peak resident memory of each (goal
# for the two filters: at most 64 bytes per observation plus 4 MiB).
#   bench/several-nights.sh [path/to/varistellar] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/release/src/varistellar}")
rounds=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkdir one b v
python3 "$root/bench/long-night.py" 1000000 one/lightcurve.txt
python3 "$root/bench/long-night.py" 500000 b/lightcurve.txt --variant 1
python3 "$root/bench/long-night.py" 500000 v/lightcurve.txt --variant 2
for folder in one b v; do cp "$root/examples/sample-night/VARISTELLAR-input.txt" "$folder/"; done
# The B night: the comparison's B magnitude and the filter B.
sed -i '8s/.*/12.900/; 9s/.*/B/' b/VARISTELLAR-input.txt
printf '' > empty.txt

"$binary" convert --quiet --report two.txt b v 2>/dev/null
printf 'two filters: %d records in one report\n' "$(grep -vc '^#' two.txt)"

python3 "$root/bench/time_runs.py" --warmup 2 "$rounds" \
  one empty.txt "$binary" convert --quiet one -- \
  two empty.txt "$binary" convert --quiet --report two.txt b v

python3 - <<'PY'
import json
s = json.load(open("timings.json"))
one, two = s["one"]["median_ms"], s["two"]["median_ms"]
print("two folders of 500,000 / one folder of 1,000,000 = %.2f (%.1f ms / %.1f ms; goal <= 1.3)"
      % (two / one, two, one))
PY

peak() { { /usr/bin/time -f "%M" "$@" > /dev/null; } 2>&1 | tail -n 1; }
one_peak=$(peak "$binary" convert --quiet one)
two_peak=$(peak "$binary" convert --quiet --report two.txt b v)
echo "peak resident memory: one folder ${one_peak} KiB; two folders ${two_peak} KiB"
python3 -c "
kib = $two_peak
print('two folders: %.1f bytes per observation above 4 MiB (goal <= 64)' % max(0.0, (kib - 4096) * 1024 / 1e6))"
