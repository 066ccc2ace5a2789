#!/usr/bin/env bash
# Installs every Debian package needed to build, run, test, fuzz and benchmark Arkalune, and the
# packages named as arguments.
set -euo pipefail
paquets=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-translations-l10n
  libgl-dev libglu1-mesa-dev fonts-liberation2 libpugixml-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth poppler-utils
  file desktop-file-utils appstream lintian xdg-utils libfile-mimeinfo-perl librsvg2-bin
  "$@"
)
manquants=()
for p in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
if [ ${#manquants[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -q
  $sudo_cmd apt-get install -y -q --no-install-recommends "${manquants[@]}"
fi
