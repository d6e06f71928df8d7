#!/usr/bin/env bash
# Runs the program under valgrind memcheck on the sample night: a successful
# run, a run that ends through a handled failure and one that ends through
# an unhandled failure. Any memory error or leak fails the script.
#   scripts/valgrind.sh BUILD_DIR   (a build linked dynamically, so that
#                                    memcheck sees every allocation)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "$1/src/varistellar")

check() {
  local name=$1 answers=$2
  shift 2
  local night
  night=$(mktemp -d)
  cp "$root"/examples/sample-night/* "$night"/
  (cd "$night" && "$@")
  set +e
  (cd "$night" && printf '%b' "$answers" | valgrind --quiet --error-exitcode=99 --leak-check=full \
      --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \
      "$binary" > /dev/null 2> valgrind.txt)
  local status=$?
  set -e
  if [ "$status" -eq 99 ] || grep -q '^==' "$night/valgrind.txt"; then
    echo "valgrind: $name: FAILED"; cat "$night/valgrind.txt"; rm -rf "$night"; return 1
  fi
  echo "valgrind: $name: clean (exit status $status)"
  rm -rf "$night"
}

check "successful run" '\n\n\n\n\n\n\n\n\n\n' true
check "handled failure (no parameter file)" '\n\n\n\n\n' rm VARISTELLAR-input.txt
check "unhandled failure (input ends at the ninth pause)" '\n\n\n\n\n\n\n\n' true
