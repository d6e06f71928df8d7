#!/usr/bin/env bash
# Static checks with zero findings allowed: clang-format over every C++ file,
# clang-tidy (.clang-tidy) and cppcheck over src/, shellcheck over every shell
# script, pyflakes over every Python file, and every relative link of the
# Markdown pages.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/tidy}

echo "-- clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "-- clang-tidy"
cmake --preset tidy -B "$build" >/dev/null
output=$(run-clang-tidy -p "$build" -quiet "$root/src/" 2>&1) || { echo "$output"; exit 1; }
if grep -E "(warning|error):" <<<"$output"; then exit 1; fi

echo "-- cppcheck"
cppcheck --enable=warning,style,performance,portability --std=c++20 --error-exitcode=1 \
  --inline-suppr --quiet -I src src
echo "-- shellcheck"
git ls-files '*.sh' .ci/run | xargs shellcheck

echo "-- pyflakes"
git ls-files '*.py' | xargs pyflakes3

echo "-- documentation links"
python3 scripts/check-doc-links.py

echo "static checks: no findings"
