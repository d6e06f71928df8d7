#!/usr/bin/env bash
# Times `varistellar convert --transform`, alternately in one run, and reports
# the medians, their ratios and the peak resident memory:
#  (a) a night of B and V, 500,000 observations each in a FOLDER of its own,
#      transformed into one report, beside `convert` of one 1,000,000-
#      observation FOLDER (goal: at most 1.5; memory at most 64 bytes per
#      observation plus 4 MiB), and the same two FOLDERs untransformed;
#  (b) that one FOLDER transformed alone with `--colour B-V=T,C,K` beside it
#      untransformed (goal: at most 1.1; memory flat, below 4 MiB).
# Every run writes the check star's fields (`--check-star`), which a
# transformed report always carries, so that the reports differ only by the
# transformation. A program without `--transform` gets only the untransformed
# runs timed.
#   bench/transform-speed.sh [path/to/varistellar] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/release/src/varistellar}")
rounds=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# An exposure every 20 seconds without pauses: B and V alternate, so that every
# observation has its partner 20 seconds away.
generator=$root/bench/two-filter-night.py
python3 "$generator" pair --filters B,V --count 500000 --cadence 20 --pause-every 0
colour=$(python3 "$generator" one --filters V --count 1000000 --cadence 20 --pause-every 0 \
  --print-colour B-V)
printf '' > empty.txt

transforms=no
case $("$binary" --help) in *--transform*) transforms=yes ;; esac

one=("$binary" convert --quiet --check-star --report one.txt one/V)
pair=("$binary" convert --quiet --check-star --report pair.txt pair/B pair/V)
pair_transformed=("$binary" convert --quiet --check-star --transform pair/tg.ini
  --report pair-transformed.txt pair/B pair/V)
one_transformed=("$binary" convert --quiet --check-star --transform one/tg.ini --colour "$colour"
  --report one-transformed.txt one/V)

records() { grep -vc '^#' "$1"; }
transformed() { grep -c ',YES,STD,' "$1" || true; }
"${one[@]}"
"${pair[@]}"
printf 'one folder: %d records; two folders untransformed: %d records\n' \
  "$(records one.txt)" "$(records pair.txt)"
commands=(one empty.txt "${one[@]}" -- pair empty.txt "${pair[@]}")
if [ "$transforms" = yes ]; then
  "${pair_transformed[@]}"
  "${one_transformed[@]}"
  printf 'two folders transformed: %d records, %d with TRANS YES\n' \
    "$(records pair-transformed.txt)" "$(transformed pair-transformed.txt)"
  printf 'one folder transformed with --colour %s: %d records, %d with TRANS YES\n' \
    "$colour" "$(records one-transformed.txt)" "$(transformed one-transformed.txt)"
  commands+=(-- pair-trans empty.txt "${pair_transformed[@]}"
    -- one-trans empty.txt "${one_transformed[@]}")
else
  echo "this varistellar has no --transform: only the untransformed runs are timed"
fi

python3 "$root/bench/time_runs.py" --warmup 2 "$rounds" "${commands[@]}"

python3 - "$transforms" <<'PY'
import json
import sys
s = json.load(open("timings.json"))
def ratio(name, against, goal):
    a, b = s[name]["median_ms"], s[against]["median_ms"]
    cpu = s[name]["cpu_median_ms"] / s[against]["cpu_median_ms"]
    print("%s / %s = %.2f elapsed (%.1f ms / %.1f ms), %.2f CPU (goal <= %s)"
          % (name, against, a / b, a, b, cpu, goal))
ratio("pair", "one", "1.5 when transformed")
if sys.argv[1] == "yes":
    ratio("pair-trans", "one", "1.5")
    ratio("one-trans", "one", "1.1")
PY

# GNU time reports the program's own peak, not that of a forked copy of the timer.
peak() { { /usr/bin/time -f "%M" "$@" > /dev/null; } 2>&1 | tail -n 1; }
above() { python3 -c "print('%.1f' % max(0.0, ($1 - 4096) * 1024 / 1e6))"; }
one_peak=$(peak "${one[@]}")
pair_peak=$(peak "${pair[@]}")
echo "peak resident memory: one folder ${one_peak} KiB (goal < 4096 KiB)"
echo "two folders untransformed: ${pair_peak} KiB, $(above "$pair_peak") bytes per observation above 4 MiB"
if [ "$transforms" = yes ]; then
  pair_transformed_peak=$(peak "${pair_transformed[@]}")
  one_transformed_peak=$(peak "${one_transformed[@]}")
  echo "two folders transformed: ${pair_transformed_peak} KiB," \
    "$(above "$pair_transformed_peak") bytes per observation above 4 MiB (goal <= 64)"
  echo "one folder transformed: ${one_transformed_peak} KiB (goal < 4096 KiB)"
fi
