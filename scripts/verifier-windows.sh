#!/usr/bin/env bash
# The computing core for Windows: cross-built with MinGW-w64 in build-windows/, its tests run
# under Wine, and the sample's caption compared byte for byte with the Linux program's.
set -euo pipefail
cd "$(dirname "$0")/.."

pugixml=$(bash scripts/installer-windows.sh build-windows/sources | tail -1)

cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DARKALUNE_IHM=OFF -DARKALUNE_PUGIXML_SOURCES="$pugixml"
debut=$SECONDS
cmake --build build-windows -j2
echo "construction croisée : $((SECONDS - debut)) s"

# A Wine prefix of our own, made once; no display.
export WINEPREFIX="${WINEPREFIX:-$PWD/build-windows/wine}" WINEDEBUG=-all DISPLAY=
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i
debut=$SECONDS
ctest --test-dir build-windows --output-on-failure -j2
echo "tests sous Wine : $((SECONDS - debut)) s"

# The sample's caption: the same bytes from both programs.
natif=build/app/arkalune-calcul
if [ ! -x "$natif" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build --target arkalune-calcul -j2
fi
sortie=$(mktemp -d)
trap 'rm -rf "$sortie"' EXIT
"$natif" exemples/voute.arkl >"$sortie/linux.txt"
wine build-windows/app/arkalune-calcul.exe exemples/voute.arkl >"$sortie/windows.txt"
if ! cmp "$sortie/linux.txt" "$sortie/windows.txt"; then
  echo "la légende de exemples/voute.arkl diffère entre Linux et Windows :" >&2
  diff <(od -c "$sortie/linux.txt") <(od -c "$sortie/windows.txt") >&2 || true
  exit 1
fi
echo "légende de exemples/voute.arkl identique sous Linux et Windows : $(cat "$sortie/linux.txt")"
