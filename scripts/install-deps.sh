#!/usr/bin/env bash
# Installs the Debian packages of scripts/paquets.txt that are missing.
set -euo pipefail
cd "$(dirname "$0")"

mapfile -t paquets < <(grep -v -E '^\s*(#|$)' paquets.txt)

manquants=()
for p in "${paquets[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    manquants+=("$p")
  fi
done
[ ${#manquants[@]} -eq 0 ] && exit 0

echo "Installation des paquets manquants : ${manquants[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${manquants[@]}"
