#!/usr/bin/env bash
# Builds the converter (installing a compiler, CMake and Ninja first where
# they are missing), runs it on the bundled sample night with every pause
# answered, and shows the report it wrote. Everything it makes stays in
# build/sample: the night is a fresh copy in build/sample/night.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh sample

echo "== Building the converter in build/sample"
cmake --preset sample >/dev/null
cmake --build --preset sample
program=$root/build/sample/src/varistellar

night=$root/build/sample/night
rm -rf "$night"
mkdir -p "$night"
cp examples/sample-night/* "$night"/
echo "== The run, in $night (its ten pauses answered with empty lines)"
status=0
(cd "$night" && printf '\n%.0s' {1..10} | "$program") || status=$?
report=$night/lightcurve-aavso.txt
echo "== Exit status $status; the report begins:"
head -n 12 "$report"
echo "   ... $(wc -l <"$report") lines in all"

# The second example: a night in B and V, transformed to the standard system.
two=$root/build/sample/two-filter-night
rm -rf "$two"
cp -r examples/two-filter-night "$two"
echo "== A night in B and V, transformed with the coefficients in tg.ini"
(cd "$two" && "$program" convert --transform tg.ini --check-star --report two-filter-aavso.txt B V) ||
  status=$?

cat <<TEXT
== The report is $report; the transformed two-filter report is
   $two/two-filter-aavso.txt
To convert a night of your own, run the program in the folder that holds its
lightcurve.txt and VARISTELLAR-input.txt:
  cd /path/to/your/night && $program
or install it (cmake --install build/sample, as root) and run varistellar there.
TEXT
exit "$status"
