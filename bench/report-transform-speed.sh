#!/usr/bin/env bash
# transform of a 1,000,000-row two-filter report against check of the same
# report: runs alternated, medians of wall time, and each command's peak
# memory and CPU time (user and system, both threads): on a shared machine
# the CPU ratio scatters less than the wall-time one. Check of the written
# report, which is what transform's own check reads, is timed beside them.
# Usage: bench/report-transform-speed.sh BINARY [RUNS]
set -euo pipefail
binary=$(realpath "$1")
runs=${2:-5}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# Its 2,600 nights begin in 2017, so that none lies in the future.
python3 "$here/two-filter-night.py" night --count 500000 --start 2458000.25 >/dev/null
"$binary" convert --check-star --quiet --report report.txt night/B night/V
echo "report: $(grep -vc '^#' report.txt) rows, $(stat -c %s report.txt) bytes"
measure() {  # prints seconds, peak kilobytes and CPU seconds of one run
  /usr/bin/time -f "%e %M %U %S" "$@" >/dev/null 2>time.txt || true
  tail -n 1 time.txt | awk '{print $1, $2, $3 + $4}'
}
# Each round: check, transform to a new output, then transform again over
# that output. Replacing a file frees the old one's blocks, which on some
# disks (ext4 mounted with discard) waits tens of milliseconds for the disk:
# a cost of the file system that check, which writes nothing, never meets.
check_times=(); check_cpu=()
new_times=(); new_cpu=()
over_times=(); over_cpu=()
written_times=(); written_cpu=()
for _ in $(seq "$runs"); do
  read -r t m c < <(measure "$binary" check report.txt)
  check_times+=("$t"); check_memory=$m; check_cpu+=("$c")
  rm -f report-transformed.txt
  read -r t m c < <(measure "$binary" transform --transform night/tg.ini report.txt)
  new_times+=("$t"); transform_memory=$m; new_cpu+=("$c")
  read -r t m c < <(measure "$binary" transform --transform night/tg.ini report.txt)
  over_times+=("$t"); over_cpu+=("$c")
  # What transform's own check of its report costs, as check of those bytes.
  read -r t m c < <(measure "$binary" check report-transformed.txt)
  written_times+=("$t"); written_cpu+=("$c")
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
cm=$(median "${check_times[@]}")
cc=$(median "${check_cpu[@]}")
echo "check:     median ${cm} s (CPU ${cc} s), peak ${check_memory} KiB"
report() {  # label, then the times and the CPU seconds, each list in one word
  local times cpu tm tc
  read -ra times <<< "$2"
  read -ra cpu <<< "$3"
  tm=$(median "${times[@]}")
  tc=$(median "${cpu[@]}")
  echo "transform, $1: median ${tm} s (CPU ${tc} s)"
  awk -v c="$cm" -v t="$tm" -v cc="$cc" -v tc="$tc" \
    'BEGIN {printf "  transform / check: %.2f (CPU %.2f)\n", t / c, tc / cc}'
}
report "new output" "${new_times[*]}" "${new_cpu[*]}"
report "over the last output" "${over_times[*]}" "${over_cpu[*]}"
echo "check of the written report: median $(median "${written_times[@]}") s (CPU $(median "${written_cpu[@]}") s)"
echo "transform peak: ${transform_memory} KiB"
awk -v m="$transform_memory" 'BEGIN {printf "transform memory per row: %.1f bytes\n", (m - 4096) * 1024 / 1000000}'
