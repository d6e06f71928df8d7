#!/usr/bin/env bash
# Times `varistellar convert` of an AstroImageJ table of 100,000 rows with 20
# comparison stars (about 150 columns, 2 kB a line, 190 MB) beside mawk
# printing the columns convert needs from the same file, found by their
# titles on the first line: the floor of reading such a table at all. Both
# run alternately; the medians, their ratio and convert's peak resident
# memory are reported (a row is read and forgotten, so memory stays flat).
#   bench/aij-speed.sh [path/to/varistellar] [rounds] [rows]
# Needs mawk (apt-get install mawk) and GNU time (apt-get install time).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/release/src/varistellar}")
rounds=${2:-7}
rows=${3:-100000}
for tool in mawk /usr/bin/time; do
  command -v "$tool" > /dev/null || { echo "aij-speed.sh: $tool is missing (apt-get install ${tool##*/})" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 "$root/bench/aij-night.py" . --filters V --rows "$rows" --comparisons 20
cd V
table=Measurements.xls
printf '' > empty.txt
echo "table: $rows rows, $(head -n 1 "$table" | awk -F'\t' '{ print NF }') columns, $(stat -c %s "$table") bytes"

# What convert reads of a row: the times, the airmass, the target's and the
# check star's relative flux and its error, the table's ensemble reference,
# and each comparison star's net counts (each is measured against the others).
cat > needed.awk <<'AWK'
NR == 1 {
  for (i = 1; i <= NF; i++) column[$i] = i
  n = split("HJD_UTC JD_UTC AIRMASS rel_flux_T1 rel_flux_err_T1 rel_flux_T2 rel_flux_err_T2 Source_AMag_T1", names, " ")
  for (i = 1; i <= n; i++) wanted[i] = column[names[i]]
  for (i = 1; i <= NF; i++) if ($i ~ /^Source-Sky_C/) wanted[++n] = i
  next
}
{
  line = $wanted[1]
  for (i = 2; i <= n; i++) line = line " " $wanted[i]
  print line
}
AWK

"$binary" convert --quiet --report aavso.txt .
echo "report: $(($(wc -l < aavso.txt) - 7)) records"

python3 "$root/bench/time_runs.py" --warmup 2 "$rounds" \
  convert empty.txt "$binary" convert --quiet --report aavso.txt . -- \
  mawk empty.txt mawk -F'\t' -f needed.awk "$table"

python3 - <<'PY'
import json
s = json.load(open("timings.json"))
c, m = s["convert"], s["mawk"]
print("convert %.0f ms (CPU %.0f ms), mawk %.0f ms (CPU %.0f ms); convert / mawk = %.2f elapsed, %.2f CPU"
      % (c["median_ms"], c["cpu_median_ms"], m["median_ms"], m["cpu_median_ms"],
         c["median_ms"] / m["median_ms"], c["cpu_median_ms"] / m["cpu_median_ms"]))
PY

# GNU time reports the program's own peak, not that of a forked copy of the timer.
peak=$( { /usr/bin/time -f '%M' "$binary" convert --quiet --report aavso.txt . > /dev/null; } 2>&1 | tail -n 1)
mawk_peak=$( { /usr/bin/time -f '%M' mawk -F'\t' -f needed.awk "$table" > /dev/null; } 2>&1 | tail -n 1)
echo "peak resident memory: convert ${peak} KiB, mawk ${mawk_peak} KiB"
