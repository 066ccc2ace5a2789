#!/usr/bin/env bash
# Builds the Debian package (Release, without tests nor benchmarks) from a clean build folder:
# build-paquet/arkalune_<version>_<arch>.deb, then checks it with lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/installer-dependances.sh
rm -rf build-paquet
# Debian's hardening flags (fortified functions, stack protector, read-only relocations bound now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  cmake -S . -B build-paquet -G Ninja -DCMAKE_BUILD_TYPE=Release -DARKALUNE_TESTS=OFF \
  -DARKALUNE_BENCH=OFF
cmake --build build-paquet -j2
(cd build-paquet && cpack -G DEB)
# Errors fail the build; warnings are listed.
lintian --fail-on error build-paquet/arkalune_*.deb
