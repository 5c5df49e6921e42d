#!/usr/bin/env bash
# Runs the batch program on the shipped examples.
set -euo pipefail
build=${1:-build}
mkdir -p out
for dsc in examples/*.dsc; do
  nom=$(basename "$dsc")
  echo "== $dsc"
  "$build/tamso-cli" description "$dsc" --write "out/$nom" > "out/${nom%.*}.reglages.txt"
  echo "   réglages lus : out/${nom%.*}.reglages.txt"
  echo "   description réécrite : out/$nom"
done
