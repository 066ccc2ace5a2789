#!/usr/bin/env bash
# Installs what the Windows cross build and its tests need: Debian's MinGW-w64 (posix threads)
# and Wine. pugixml has no package for MinGW: its Debian source package is unpacked into
# DOSSIER (build-windows/sources by default), for the cross build to compile.
# usage: installer-windows.sh [DOSSIER]
set -euo pipefail
cd "$(dirname "$0")/.."
sources=$(realpath -m "${1:-build-windows/sources}")

bash scripts/installer-dependances.sh g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev

if ! ls "$sources"/pugixml-*/src/pugixml.cpp >/dev/null 2>&1; then
  # The machine's own Debian sources, as deb-src, in a list of this script's: the system's apt
  # configuration is left as it is.
  apt_src=$(mktemp -d)
  trap 'rm -rf "$apt_src"' EXIT
  mkdir -p "$apt_src/listes/partial" "$apt_src/sources.d" "$sources"
  for f in /etc/apt/sources.list.d/*.sources; do
    sed 's/^Types: deb$/Types: deb-src/' "$f" >"$apt_src/sources.d/$(basename "$f")"
  done
  [ -f /etc/apt/sources.list ] &&
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt_src/sources.d/principal.list"
  options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_src/sources.d"
           -o Dir::State::Lists="$apt_src/listes" -o APT::Sandbox::User=root)
  apt-get "${options[@]}" update -q
  (cd "$sources" && apt-get "${options[@]}" source -q pugixml)
fi
ls -d "$sources"/pugixml-*/ | head -1
