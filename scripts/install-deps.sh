#!/usr/bin/env bash
# Installs, with apt-get, what one purpose needs and this machine lacks
# (Debian 12, as root). Does nothing when all is present.
#
#   bash scripts/install-deps.sh sample   a compiler, CMake and Ninja: enough to
#                                         build the program and run it
#   bash scripts/install-deps.sh test     everything the test stages and the
#                                         packages need
set -euo pipefail

sample=(cmake ninja-build g++)
test=(
  "${sample[@]}" clang python3 libgtest-dev libgmock-dev libbenchmark-dev  # build, tests, benchmarks
  ccache                                                                  # the stages' builds, kept
  libclang-rt-14-dev                                                      # sanitizers and libFuzzer
  g++-mingw-w64-x86-64 wine wine64                                        # the Windows build, run under wine
  hyperfine time valgrind util-linux                                      # timing, memcheck, setpriv
  librsvg2-bin                                                            # renders the picture in its test
  emscripten chromium chromium-driver python3-selenium                    # the web page, built and driven
  lintian                                                                 # the .deb as Debian judges it
  clang-format clang-tidy cppcheck shellcheck python3-pyflakes            # static checks
)

case ${1:-} in
  sample) packages=("${sample[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: bash scripts/install-deps.sh sample|test" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
((${#missing[@]})) || exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing: ${missing[*]}; install them (as root: apt-get install ${missing[*]})" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
if [ "$1" = sample ]; then
  # The compiler and the build tools alone, without their recommendations.
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  # With the packages' recommendations: wine's are part of the setup the
  # Windows suite was proven on.
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
