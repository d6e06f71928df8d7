#!/usr/bin/env bash
# Runs the program on a 200 MB light-curve table whose every observation is
# dropped, and checks that its peak resident memory stays flat: the table is
# read line by line through one buffer, whatever its size.
#   bench/large-table.sh [path/to/varistellar] [limit-in-KiB]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/src/varistellar}")
limit=${2:-4096}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 - <<'PY'
line = b"2456175.66008 99.999 99.999 1.32950 0.02057 99.999 99.999 0.00569 1.44538 43.69\r\n"
block = line * 12800
with open("lightcurve.txt", "wb") as table:
    table.write(b"JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\r\n"
                b"Aperture: 1, Filter: g, JD: heliocentric\r\n")
    while table.tell() < 200 * 1024 * 1024:
        table.write(block)
PY
cp "$root/examples/sample-night/VARISTELLAR-input.txt" .
printf '\n\n\n\n\n\n\n\n\n\n' > answers.txt

start=$(date +%s%N)
peak=$( { /usr/bin/time -f '%M' "$binary" < answers.txt > console.txt; } 2>&1 | tail -n 1)
end=$(date +%s%N)
printf 'table: %d MiB, run: %d ms, peak resident memory: %s KiB (limit %s KiB)\n' \
  $(( $(stat -c %s lightcurve.txt) / 1024 / 1024 )) $(( (end - start) / 1000000 )) "$peak" "$limit"
grep -q 'DONE READING     0 OBSERVATIONS' console.txt
test "$peak" -lt "$limit"
