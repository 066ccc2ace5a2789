#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine, runs the installed programs from PATH
# on the installed sample, then removes the package. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

bash scripts/paquet.sh
desktop-file-validate packaging/fr.kelm.arkalune.desktop
appstreamcli validate --no-net --pedantic build-paquet/packaging/fr.kelm.arkalune.metainfo.xml

export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get install -y -q ./build-paquet/arkalune_*.deb
travail=$(mktemp -d)
trap '$sudo_cmd apt-get remove -y -q arkalune; rm -rf "$travail"' EXIT

exemple=/usr/share/arkalune/exemples/voute.arkl
echo "--- arkalune-calcul from $(command -v arkalune-calcul)"
arkalune-calcul --version
arkalune --version
# The README's example, on the installed sample.
attendu="Actions à l'appui de l'arêtier (daN) : FX = 886, FY = 748 , FZ = -2862"
obtenu=$(arkalune-calcul "$exemple")
if [ "$obtenu" != "$attendu" ]; then
  echo "arkalune-calcul $exemple: « $obtenu », attendu « $attendu »" >&2
  exit 1
fi
echo "$obtenu"

echo "--- file types"
type_exemple=$(xdg-mime query filetype "$exemple")
application=$(xdg-mime query default application/x-arkalune)
echo "$exemple: $type_exemple, opened by $application"
[ "$type_exemple" = application/x-arkalune ] && [ "$application" = fr.kelm.arkalune.desktop ]

echo "--- the window on the installed sample, under Xvfb"
# Nothing makes the window quit after a load: it is stopped once its journal says the sample is
# loaded. A message box (an error) would mean a failure.
journal="$travail/journal.txt"
HOME="$travail" ARKALUNE_JOURNAL="$journal" setsid bash tests/ihm/sous-xvfb.sh arkalune "$exemple" &
fenetre=$!
charge=""
for _ in $(seq 1 120); do
  if grep -q '^[0-9]* ms statut 0 : .* points chargés$' "$journal" 2>/dev/null; then
    charge=oui
    break
  fi
  kill -0 "$fenetre" 2>/dev/null || break
  sleep 0.5
done
kill -TERM -- "-$fenetre" 2>/dev/null || true
wait "$fenetre" || true
cat "$journal" 2>/dev/null | grep -v '^[0-9]* ms statut 1 : ' || true
if [ -z "$charge" ] || grep -q '^[0-9]* ms message : ' "$journal"; then
  echo "the installed window did not load $exemple" >&2
  exit 1
fi
echo "--- package checked"
