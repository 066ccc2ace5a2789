#!/usr/bin/env bash
# Builds every libFuzzer target with clang and runs each for N seconds (default 30) on a copy of
# its seed corpus fuzz/corpus/<name without "fuzz_">. Any crash, hang, leak or excess of memory
# fails the run; the input that caused it is kept in build-fuzz/artefacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
racine=$PWD
duree="${1:-30}"

CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DARKALUNE_IHM=OFF -DARKALUNE_TESTS=OFF -DARKALUNE_FUZZ=ON
cmake --build build-fuzz

mapfile -t cibles < <(find build-fuzz/fuzz -maxdepth 1 -type f -executable -name 'fuzz_*' | sort)
if [ ${#cibles[@]} -eq 0 ]; then
  echo "fuzz.sh : aucune cible de fuzzing construite" >&2
  exit 1
fi

travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
artefacts="$racine/build-fuzz/artefacts"
mkdir -p "$artefacts"
echecs=()
for cible in "${cibles[@]}"; do
  nom=$(basename "$cible")
  corpus="$travail/${nom#fuzz_}"
  mkdir -p "$corpus"
  if [ -d "fuzz/corpus/${nom#fuzz_}" ]; then cp -R "fuzz/corpus/${nom#fuzz_}/." "$corpus/"; fi
  # Longer inputs where a fault needs room: an E57 file's deep prototype or several scans
  # take a few pages.
  longueur=()
  if [ "$nom" = fuzz_e57 ]; then longueur=(-max_len=65536); fi
  echo "== $nom : $duree s"
  # -timeout: an input that takes longer is a hang; -rss_limit_mb: a grid or a pool that grows
  # without bound is a failure too.
  if ! ASAN_OPTIONS=detect_leaks=1 "$racine/$cible" "${longueur[@]}" -max_total_time="$duree" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artefacts/$nom-" "$corpus"; then
    echecs+=("$nom")
  fi
done

if [ ${#echecs[@]} -gt 0 ]; then
  echo "fuzz.sh : échec de ${echecs[*]} (entrées dans $artefacts)" >&2
  exit 1
fi
echo "fuzz.sh : ${#cibles[@]} cible(s) sans défaut en $duree s chacune"
