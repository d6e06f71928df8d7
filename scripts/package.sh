#!/usr/bin/env bash
# Builds the three packages into build/packages: the Linux .tar.gz and .deb
# from the release preset, the Windows .zip from the windows preset, each
# with varistellar.html from the web preset. Needs what
# `bash scripts/install-deps.sh test` installs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=$root/build/packages
# Only the packages are replaced: the package test keeps its wine prefix here.
mkdir -p "$out"
rm -f "$out"/*.tar.gz "$out"/*.deb "$out"/*.zip

echo "-- web"
cmake --preset web >/dev/null
cmake --build --preset web
page=$root/build/web/varistellar.html

for preset in release windows; do
  echo "-- $preset"
  cmake --preset "$preset" -D VARISTELLAR_PAGE="$page" >/dev/null
  cmake --build --preset "$preset" --target varistellar
  cpack --config "build/$preset/CPackConfig.cmake" -B "$out" >/dev/null
done
rm -rf "$out/_CPack_Packages"
(cd "$out" && ls -l -- *.tar.gz *.deb *.zip)
ls -l "$page"
