#!/usr/bin/env bash
# Times `convert --check-star --merr check-scatter` beside `convert
# --check-star` on a night of one million observations, alternately in one
# run, and reports the medians and their ratio (goal: at most 1.15), then the
# peak resident memory of both at one million and at a quarter of that (flat:
# the same). With a second binary (a build without the quality warnings), it
# times `convert --check-star` of the two, to show that the warnings add no
# second pass.
#   bench/merr-speed.sh [path/to/varistellar] [path/to/earlier/varistellar] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/release/src/varistellar}")
earlier=${2:-}
rounds=${3:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 "$root/bench/long-night.py" 1000000 lightcurve.txt
# The sample's parameters, with the check star's magnitude this night measures, so that
# no quality warning is printed on every run.
sed 's/^13.021$/11.671/' "$root/examples/sample-night/VARISTELLAR-input.txt" > VARISTELLAR-input.txt
printf '' > empty.txt

runs=(table empty.txt "$binary" convert --quiet --check-star . --
      scatter empty.txt "$binary" convert --quiet --check-star --merr check-scatter .)
if [ -n "$earlier" ]; then
  runs+=(-- earlier empty.txt "$(realpath "$earlier")" convert --quiet --check-star .)
fi
python3 "$root/bench/time_runs.py" --warmup 2 "$rounds" "${runs[@]}"

python3 - <<'PY'
import json
s = json.load(open("timings.json"))
t, c = s["table"], s["scatter"]
print("check-scatter / table = %.3f elapsed, %.3f CPU (goal <= 1.15)"
      % (c["median_ms"] / t["median_ms"], c["cpu_median_ms"] / t["cpu_median_ms"]))
if "earlier" in s:
    e = s["earlier"]
    print("convert --check-star, this build / earlier = %.3f elapsed, %.3f CPU"
          % (t["median_ms"] / e["median_ms"], t["cpu_median_ms"] / e["cpu_median_ms"]))
PY

peak() { { /usr/bin/time -f '%M' "$@" > /dev/null; } 2>&1 | tail -n 1; }
for method in table check-scatter; do
  echo "peak resident memory, --merr $method: 1000000 observations $(peak "$binary" convert \
    --quiet --check-star --merr "$method" .) KiB"
done
python3 "$root/bench/long-night.py" 250000 lightcurve.txt
for method in table check-scatter; do
  echo "peak resident memory, --merr $method: 250000 observations $(peak "$binary" convert \
    --quiet --check-star --merr "$method" .) KiB"
done
