#!/usr/bin/env bash
# Installs what the tests need, then runs the test stages: every stage, or
# the ones named. Each stage runs whatever became of the ones before it; its
# result and time are shown, and the last line counts them.
#
#   bash scripts/test.sh              every stage
#   bash scripts/test.sh STAGE...     the named stages, in the order given
#   bash scripts/test.sh --list       the stages
#
# Exits 1 when a stage failed, 2 when a name is not a stage.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 2

# The stages, one a line: name | what it checks | the command that runs it,
# from the checkout's root. A stage passes when its command exits 0.
stage_table=(
  "unit       | unit tests and end-to-end cases (g++, release)         | preset_tests release"
  "sanitizers | the same under ASan and UBSan (clang)                  | preset_tests sanitize"
  "wine       | end-to-end cases against varistellar.exe under wine    | sh tests/windows/run-wine-suite.sh"
  "fuzz       | every fuzz target for 6 seconds                        | bash fuzz/run-short.sh build/fuzz 6"
  "valgrind   | valgrind memcheck of whole runs; a 200 MB table        | memory_checks"
  "web        | varistellar.html built and driven in headless Chromium | web_tests"
  "packages   | .tar.gz, .deb and .zip built, unpacked and run         | package_tests"
  "static     | clang-format, clang-tidy, cppcheck, shellcheck, pyflakes | bash scripts/static-checks.sh"
)

# Configures, builds and runs CTest through the presets of one name.
preset_tests() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" && ctest --preset "$1"
}

memory_checks() {
  cmake --preset dynamic >/dev/null && cmake --build --preset dynamic &&
    bash scripts/valgrind.sh build/dynamic &&
    cmake --preset release >/dev/null && cmake --build --preset release --target varistellar &&
    bash bench/large-table.sh build/release/src/varistellar
}

# The page from the web preset, against the release build's program.
web_tests() {
  cmake --preset web >/dev/null && cmake --build --preset web &&
    cmake --preset release >/dev/null && cmake --build --preset release --target varistellar &&
    /usr/bin/python3 tests/web/test_page.py --page build/web/varistellar.html \
      --binary build/release/src/varistellar --screenshot build/web/screenshot.png
}

package_tests() {
  bash scripts/package.sh && python3 tests/packaging/test_packages.py build/packages
}

field() { # field LINE N: the Nth field of a stage line, trimmed
  local -a fields
  IFS='|' read -r -a fields <<<"$1"
  local value=${fields[$2]}
  value=${value#"${value%%[![:space:]]*}"}
  printf '%s' "${value%"${value##*[![:space:]]}"}"
}

declare -A command_of description_of
names=()
for line in "${stage_table[@]}"; do
  name=$(field "$line" 0)
  names+=("$name")
  description_of[$name]=$(field "$line" 1)
  command_of[$name]=$(field "$line" 2)
done

if [ "${1:-}" = --list ]; then
  for name in "${names[@]}"; do printf '%-11s %s\n' "$name" "${description_of[$name]}"; done
  exit 0
fi
selected=("$@")
((${#selected[@]})) || selected=("${names[@]}")
for name in "${selected[@]}"; do
  if [ -z "${command_of[$name]+set}" ]; then
    echo "test.sh: no stage '$name'; the stages are: ${names[*]}" >&2
    exit 2
  fi
done

# Every installation happens here, before the first stage.
bash scripts/install-deps.sh test || exit 1

# The stages build the same sources seven ways; through ccache a later run on
# this machine compiles only what changed. Paths are hashed relative to the
# checkout, so that clones in other folders (as CI makes) share the cache.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
  export CCACHE_DIR=${CCACHE_DIR:-${HOME:-/root}/.cache/ccache}
fi

passed=0
failed=0
summary=()
for name in "${selected[@]}"; do
  printf '\n== %s: %s\n' "$name" "${description_of[$name]}"
  start=$SECONDS
  if eval "${command_of[$name]}" </dev/null; then result=passed; passed=$((passed + 1)); else
    result=FAILED; failed=$((failed + 1))
  fi
  summary+=("$(printf '%-11s %-6s %4d s' "$name" "$result" $((SECONDS - start)))")
  printf '== %s %s in %d s\n' "$name" "$result" $((SECONDS - start))
done

printf '\n'
printf '%s\n' "${summary[@]}"
printf '%d passed, %d failed\n' "$passed" "$failed"
((failed == 0))
