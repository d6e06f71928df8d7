#!/usr/bin/env bash
# Runs `varistellar convert` on tables that are not light-curve tables and
# reports its peak resident memory, time and how much it printed: a table of
# one 300 MB line, 50 MB of random bytes (an image, say), and 50 MB of random
# bytes without NUL, whose every line is wrong. Memory must stay flat (below
# the limit) and the messages few, whatever the bytes; no report is written.
#   bench/input-memory.sh [path/to/varistellar] [limit-in-KiB]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$root/build/release/src/varistellar}")
limit=${2:-4096}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 - <<'PY'
import random
with open("one-line.txt", "wb") as table:
    table.write(b"JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\n"
                b"Aperture: 1, Filter: g, JD: heliocentric\n")
    block = b"2456175.65873 " * 4096
    while table.tell() < 300 * 1000 * 1000:
        table.write(block)
generator = random.Random(2026)
with open("binary.txt", "wb") as table:
    table.write(generator.randbytes(50 * 1000 * 1000))
# NUL becomes a blank: every line is wrong, none says at once the file is no text.
no_nul = bytes.maketrans(b"\0", b" ")
with open("binary-without-nul.txt", "wb") as table:
    for _ in range(50):
        table.write(generator.randbytes(1000 * 1000).translate(no_nul))
PY
cp "$root/examples/sample-night/VARISTELLAR-input.txt" .

status=0
for table in one-line.txt binary.txt binary-without-nul.txt; do
  rm -f lightcurve-aavso.txt
  start=$(date +%s%N)
  /usr/bin/time -f '%M' -o peak.txt "$binary" convert --table "$table" > out.txt 2> err.txt || true
  peak=$(tail -n 1 peak.txt)
  end=$(date +%s%N)
  printf '%-24s %4d MB: peak %5s KiB, %5d ms, %6d lines (%d bytes) on standard error\n' \
    "$table" $(( $(stat -c %s "$table") / 1000000 )) "$peak" $(( (end - start) / 1000000 )) \
    "$(wc -l < err.txt)" "$(stat -c %s err.txt)"
  test -e lightcurve-aavso.txt && { echo "a report was written for $table"; status=1; }
  [ "$peak" -lt "$limit" ] || { echo "peak above $limit KiB for $table"; status=1; }
  [ "$(wc -l < err.txt)" -le 210 ] || { echo "too many lines for $table"; status=1; }
done
exit "$status"
