#!/usr/bin/env bash
# transform of a 1,000,000-row two-filter report against check of the same
# report: runs alternated, medians of wall time, and each command's peak
# memory. Usage: bench/report-transform-speed.sh BINARY [RUNS]
set -euo pipefail
binary=$(realpath "$1")
runs=${2:-5}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 "$here/two-filter-night.py" night --count 500000 >/dev/null
"$binary" convert --check-star --quiet --report report.txt night/B night/V
echo "report: $(grep -vc '^#' report.txt) rows, $(stat -c %s report.txt) bytes"
measure() {  # prints seconds and peak kilobytes of one run
  /usr/bin/time -f "%e %M" "$@" >/dev/null 2>time.txt || true
  tail -n 1 time.txt
}
check_times=()
transform_times=()
for _ in $(seq "$runs"); do
  read -r t m < <(measure "$binary" check report.txt)
  check_times+=("$t"); check_memory=$m
  read -r t m < <(measure "$binary" transform --transform night/tg.ini report.txt)
  transform_times+=("$t"); transform_memory=$m
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
cm=$(median "${check_times[@]}")
tm=$(median "${transform_times[@]}")
echo "check:     median ${cm} s, peak ${check_memory} KiB"
echo "transform: median ${tm} s, peak ${transform_memory} KiB"
awk -v c="$cm" -v t="$tm" 'BEGIN {printf "transform / check: %.2f\n", t / c}'
awk -v m="$transform_memory" 'BEGIN {printf "transform memory per row: %.1f bytes\n", (m - 4096) * 1024 / 1000000}'
