#!/usr/bin/env bash
# Checks that no file of src/ includes a header of a layer above its own.
# The layers, from the bottom: base < input < description < processing <
# results < app < cli, ui. A file may include headers of its own layer and
# of the layers below. Prints every include that points upward; exits 1 when
# there is one.
set -u
cd "$(dirname "$0")/.."
rang() {
  case "$1" in
    base) echo 0 ;; input) echo 1 ;; description) echo 2 ;; processing) echo 3 ;;
    results) echo 4 ;; app) echo 5 ;; cli|ui) echo 6 ;; *) echo -1 ;;
  esac
}
erreurs=0
while IFS= read -r fichier; do
  couche=$(echo "$fichier" | cut -d/ -f2)
  r=$(rang "$couche")
  [ "$r" -lt 0 ] && { echo "dossier inconnu : $fichier"; erreurs=$((erreurs + 1)); continue; }
  while IFS= read -r inc; do
    cible=$(echo "$inc" | cut -d/ -f1)
    rc=$(rang "$cible")
    [ "$rc" -lt 0 ] && continue
    if [ "$rc" -gt "$r" ] || { [ "$rc" -eq 6 ] && [ "$cible" != "$couche" ]; }; then
      echo "$fichier inclut $inc (couche $cible au-dessus de $couche)"
      erreurs=$((erreurs + 1))
    fi
  done < <(grep -oE '^#include "[a-z_]+/[A-Za-z0-9_]+\.h"' "$fichier" | sed 's/#include "//; s/"$//')
done < <(git ls-files 'src/*.h' 'src/*.cpp')
if [ "$erreurs" -gt 0 ]; then
  echo "$erreurs inclusion(s) vers une couche supérieure"
  exit 1
fi
echo "couches respectées"
