#!/usr/bin/env bash
# Takes the screenshots of the user manual again, into docs/manuel/images/,
# on a virtual 1366x768 screen, in French: a first description made from
# examples/riviere, its listing, period, run, results and graphs.
# Usage: scripts/captures-manuel.sh [BUILD_DIR]   (needs xvfb-run: xvfb, xauth)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j 2 --target tamso_captures_manuel
# French when the system has the locale; the program speaks French anyway.
langue=C.UTF-8
if locale -a 2>/dev/null | grep -qiE '^fr_FR\.utf-?8$'; then langue=fr_FR.UTF-8; fi
# A folder at the top of /tmp: the folder tree of the pictures shows few others.
travail=$(mktemp -d /tmp/0-tamso-manuel.XXXXXX)
trap 'rm -rf "$travail"' EXIT
LANG=$langue LC_ALL=$langue LANGUAGE=fr QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1366x768x24" \
  "$build/tamso_captures_manuel" docs/manuel/images "$travail"
du -ch docs/manuel/images/*.png | tail -1
