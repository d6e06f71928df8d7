#!/usr/bin/env bash
# Builds and runs every test: the unit tests and the end-to-end cases with
# g++ and with clang, then the same end-to-end cases against the Windows
# executable under wine. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

jobs=$(nproc)
step() { printf '\n== %s\n' "$*"; }

for compiler in g++ clang++; do
  dir="build-test-${compiler%++}"
  step "Build and test with $compiler"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done

step "Build for Windows and run the end-to-end cases under wine"
bash tests/windows/run-wine-suite.sh build-test-win
