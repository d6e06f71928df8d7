#!/bin/sh
# Cross-builds varistellar.exe with mingw-w64 and runs the end-to-end cases
# against it under wine. Installs nothing: needs cmake, ninja (or make),
# python3, Debian's g++-mingw-w64-x86-64 and wine.
#
#   tests/windows/run-wine-suite.sh [BUILD_DIR]     (default: build/windows)
#
# The wine prefix lives in BUILD_DIR/wine-prefix and is created on the first
# run. Exits non-zero when the build fails, when the executable needs a DLL
# that is not Windows' own, or when a case fails; the last line printed is
# the runner's count: 'N passed, N failed, N skipped'.
set -eu

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$source_dir/build/windows}

for tool in cmake ninja python3 wine wineserver x86_64-w64-mingw32-objdump; do
  command -v "$tool" >/dev/null || { echo "run-wine-suite.sh: $tool is missing" >&2; exit 2; }
done

(cd "$source_dir" && cmake --preset windows -B "$build_dir" >/dev/null)
cmake --build "$build_dir" --target varistellar -j 2
exe=$build_dir/src/varistellar.exe

# Only Windows' own DLLs may be imported: the executable is copied alone.
foreign=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
  grep -viE '^(kernel32|msvcrt|ntdll|user32|advapi32|ucrtbase)\.dll$|^api-ms-win-' || true)
if [ -n "$foreign" ]; then
  echo "run-wine-suite.sh: varistellar.exe needs DLLs Windows does not have:" "$foreign" >&2
  exit 1
fi

exec python3 "$source_dir/tests/e2e/run_e2e.py" --binary "$exe" --wine \
  --wine-prefix "$build_dir/wine-prefix"
