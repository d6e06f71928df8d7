#!/usr/bin/env bash
# Builds the fuzz targets in a build directory and runs each one for a short,
# fixed time on its corpus: fuzz/corpus/NAME for the target NAME_fuzz.
# Exits non-zero when any target finds a crash or breaks a property.
#
#   bash fuzz/run-short.sh BUILD_DIR [SECONDS]   (BUILD_DIR configured with the fuzz preset)
set -euo pipefail
build=$(realpath -m "${1:?usage: fuzz/run-short.sh BUILD_DIR [SECONDS]}")
seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)

(cd "$root" && cmake --preset fuzz -B "$build" >/dev/null)
cmake --build "$build" -j "${JOBS:-2}"

failed=()
for target in "$build"/fuzz/*_fuzz; do
  [[ -x $target ]] || continue
  name=$(basename "$target" _fuzz)
  # New inputs go to a scratch directory; the committed corpus is only read.
  work="$build/fuzz-work/$name"
  artifacts="$build/fuzz-artifacts/$name"
  mkdir -p "$work" "$artifacts"
  corpus=()
  [[ -d $root/fuzz/corpus/$name ]] && corpus=("$root/fuzz/corpus/$name")
  # The stage targets take whole files (long enough for more than 1000
  # observations) and print the program's own failure reports, which are
  # silenced; libFuzzer's own report still shows.
  options=()
  case $name in
    light_curve | parameters) options=(-max_len=65536 -close_fd_mask=2) ;;
    # Past the longest line the reader takes.
    coefficient_file) options=(-max_len=8192) ;;
    # Rows of many apertures run long.
    aij_table | siril_light_curve) options=(-max_len=16384) ;;
    # The whole command prints its findings and summary: silenced.
    report_transform) options=(-max_len=16384 -close_fd_mask=3) ;;
  esac
  echo "== $name: ${seconds}s"
  # The fuzzer's running commentary goes to a log; its final figures are
  # shown, and the whole log when it fails.
  log="$build/fuzz-$name.log"
  if "$target" -max_total_time="$seconds" -print_final_stats=1 "${options[@]}" \
      -artifact_prefix="$artifacts/" "$work" "${corpus[@]}" >"$log" 2>&1; then
    grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log" || true
    grep -E '^Done [0-9]+ runs' "$log" || true
  else
    cat "$log"
    echo "== $name FAILED; reproducer in $artifacts" >&2
    failed+=("$name")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz targets failed: ${failed[*]}" >&2
  exit 1
fi
