#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this
# machine lacks (Debian 12, as root). Does nothing when all is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang python3 libgtest-dev libgmock-dev libbenchmark-dev  # build, tests, benchmarks
  libclang-rt-14-dev                                                  # sanitizers and libFuzzer
  g++-mingw-w64-x86-64 wine wine64                                    # the Windows build, run under wine
  hyperfine time valgrind clang-format clang-tidy cppcheck util-linux      # timing, memcheck, static checks, setpriv
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # With the packages' recommendations: wine's are part of the setup the
  # Windows suite was proven on.
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
