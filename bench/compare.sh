#!/usr/bin/env bash
# Times tamso-cli run against pandas (Debian's python3-pandas, run by /usr/bin/python3) on the same generated logger files, each
# as a whole process, several runs; prints medians, peak memory and ratios.
#   bench/compare.sh [BUILD_DIR] [LINES...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}; shift || true
tailles=("${@:-1000000 10000000}")
runs=${RUNS:-3}
for p in python3-pandas time; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "$p" >/dev/null
done
cmake --build "$build" -j2 --target tamso-cli tamso_generer_donnees >/dev/null
travail=$(mktemp -d /tmp/tamso-bench.XXXXXX)
trap 'rm -rf "$travail"' EXIT
export TAMSO_HOME="$travail/programme"

# Median wall time (s) and peak RSS (MiB) of a command over $runs runs.
mesurer() {
  local temps=() mem=0
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "%e %M" -o "$travail/t" "$@" >/dev/null 2>"$travail/err" ||
      { cat "$travail/err" >&2; return 1; }
    read -r e m < "$travail/t"
    temps+=("$e"); (( m > mem )) && mem=$m
  done
  local mediane
  mediane=$(printf '%s\n' "${temps[@]}" | sort -g | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}')
  echo "$mediane $((mem / 1024))"
}

printf '%-22s %10s %10s %9s %12s %10s %8s\n' "données" "Mo" "wc -l s" "tamso s" "tamso Mo/s" "pandas s" "ratio"
for n in ${tailles[@]}; do
  for fichiers in 1 8; do
    d="$travail/d_${n}_$fichiers"; mkdir -p "$d" "$travail/out"
    "$build/tamso_generer_donnees" "$n" "$fichiers" "$d"
    mo=$(du -cm "$d"/*.csv | tail -1 | cut -f1)
    cat "$d"/*.csv > /dev/null  # page cache
    read -r twc _ < <(mesurer wc -l "$d"/*.csv)
    read -r tt mt < <(mesurer "$build/tamso-cli" run bench/logger.dsc --data "$d" \
      --out "$travail/out" --from "07/11/2021 10:15:00" --to "$(python3 -c "
import datetime as dt; print((dt.datetime(2021,11,7,10,7)+dt.timedelta(minutes=$n*1.1)).strftime('%d/%m/%Y %H:%M:%S'))")" \
      --step 00:15:00 --decimal-separator ,)
    read -r tp mp < <(mesurer /usr/bin/python3 bench/pandas_equivalent.py "$d" "$travail/out/pandas.csv")
    ratio=$(awk -v a="$tp" -v b="$tt" 'BEGIN{printf "%.1f", a/b}')
    debit=$(awk -v m="$mo" -v t="$tt" 'BEGIN{printf "%.0f", m/t}')
    printf '%-22s %10s %10s %9s %12s %10s %8s   (pic mémoire : tamso %s Mio, pandas %s Mio)\n' \
      "$n lignes, $fichiers fich." "$mo" "$twc" "$tt" "$debit" "$tp" "${ratio}x" "$mt" "$mp"
    rm -rf "$d"
  done
done
