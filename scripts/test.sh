#!/usr/bin/env bash
# Builds and runs every test, installing what is missing first:
#   1. unit tests and end-to-end cases, built with g++ (the release build);
#   2. the same under AddressSanitizer and UndefinedBehaviorSanitizer, built with clang;
#   3. the end-to-end cases against the Windows executable under wine;
#   4. a short run of every fuzz target;
#   5. valgrind memcheck over whole runs, and a 200 MB table in flat memory;
#   6. static checks: clang-format, clang-tidy, cppcheck.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

jobs=$(nproc)
stages=0
step() {
  printf '\n== %s\n' "$*"
  stages=$((stages + 1))
}

step "Unit tests and end-to-end cases (g++, release)"
cmake -S . -B build-test-gcc -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build-test-gcc -j "$jobs"
ctest --test-dir build-test-gcc --output-on-failure -j "$jobs"

step "Unit tests and end-to-end cases under the sanitizers (clang)"
cmake -S . -B build-test-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVARISTELLAR_SANITIZE=ON >/dev/null
cmake --build build-test-asan -j "$jobs"
# Any report ends the process with a failure; leaks are reported too.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=86 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-test-asan --output-on-failure -j "$jobs"

step "End-to-end cases against the Windows executable under wine"
bash tests/windows/run-wine-suite.sh build-test-win

step "Fuzz targets, a short fixed time each"
bash fuzz/run-short.sh build-test-fuzz 20

step "valgrind memcheck and a 200 MB table"
cmake -S . -B build-test-dyn -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARISTELLAR_TESTS=OFF \
  -DVARISTELLAR_STATIC=OFF >/dev/null
cmake --build build-test-dyn -j "$jobs" --target varistellar
bash scripts/valgrind.sh build-test-dyn
bash bench/large-table.sh build-test-gcc/src/varistellar

step "Static checks"
bash scripts/static-checks.sh build-test-tidy

# Every stage stops the script at its first failure, so reaching here means
# each one passed.
printf '\nstages: %d passed, 0 failed\n' "$stages"
