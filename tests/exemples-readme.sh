#!/usr/bin/env bash
# Runs the example commands of the README's "Exemple" section and checks that they print exactly
# the lines shown under them, so that the README cannot drift from the program.
# usage: exemples-readme.sh RACINE ARKALUNE_CALCUL
set -euo pipefail
racine=$1
calcul=$2
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cd "$travail"

mapfile -t lignes < <(sed -n '/^## Exemple/,/^## [^E]/p' "$racine/README.md")
commandes=0
echecs=0
i=0
while [ $i -lt ${#lignes[@]} ]; do
  ligne=${lignes[$i]}
  i=$((i + 1))
  [[ $ligne == "    \$ "* ]] || continue
  commande=${ligne#    \$ }
  while [[ $commande == *\\ ]]; do
    commande="${commande%\\} ${lignes[$i]#"${lignes[$i]%%[! ]*}"}"
    i=$((i + 1))
  done
  attendu=""
  while [ $i -lt ${#lignes[@]} ] && [[ ${lignes[$i]} == "    "* ]] &&
    [[ ${lignes[$i]} != "    \$ "* ]]; do
    attendu+="${lignes[$i]#    }"$'\n'
    i=$((i + 1))
  done
  commande=${commande/build\/app\/arkalune-calcul/$calcul}
  commande=${commande//exemples\//$racine/exemples/}
  obtenu=$(eval "$commande")$'\n'
  commandes=$((commandes + 1))
  if [ "$obtenu" != "$attendu" ]; then
    echecs=$((echecs + 1))
    printf 'README : « %s »\n  attendu : %s  obtenu  : %s' "$commande" "$attendu" "$obtenu" >&2
  fi
done
if [ $commandes -eq 0 ]; then
  echo "README : aucune commande d'exemple trouvée" >&2
  exit 1
fi
[ $echecs -eq 0 ]
