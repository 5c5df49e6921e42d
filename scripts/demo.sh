#!/usr/bin/env bash
# Runs the batch program on every example description and prints where the
# results and tracking files are.
set -euo pipefail
build=${1:-build}
export TAMSO_HOME="$PWD/out/programme"
mkdir -p out
for dsc in examples/*.dsc; do
  nom=$(basename "$dsc" .dsc)
  echo "== $dsc (données : examples/$nom/)"
  "$build/tamso-cli" run "$dsc" --data "examples/$nom/" --out out/ --decimal-separator , \
    2> "out/$nom.questions.txt" | sed 's/^/   /'
done
echo "Résultats et fichiers de suivi dans out/"
