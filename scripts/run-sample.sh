#!/usr/bin/env bash
# Builds the converter, runs it on the bundled sample night in a scratch copy
# with every pause answered, and shows the report it wrote.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --target varistellar >/dev/null

night=$(mktemp -d)
cp "$root"/examples/sample-night/* "$night"/
echo "== The run, in $night (its ten pauses answered with empty lines)"
(cd "$night" && printf '\n\n\n\n\n\n\n\n\n\n' | "$root/build/src/varistellar")
echo "== exit status $?; the report $night/lightcurve-aavso.txt:"
cat "$night/lightcurve-aavso.txt"
