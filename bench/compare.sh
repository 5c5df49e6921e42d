#!/usr/bin/env bash
# Times tamso-cli run against pandas (Debian's python3-pandas, run by /usr/bin/python3) on the
# same generated logger files, each as a whole process, several runs; prints medians, peak
# memory and ratios, and checks that the results do not depend on the number of threads.
# With the desktop program built, the window is timed on the one-file job too
# (tamso_bench_fenetre, offscreen: its time, its longest time without answering, and how
# long a stop takes).
#   bench/compare.sh [BUILD_DIR] [LINES...]
# RUNS (default 3) sets the number of runs of each command; above 10,000,000 lines each
# command runs once and pandas is left out (it would need tens of gigabytes).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}; shift || true
case $build in /*) ;; *) build=$PWD/$build ;; esac
tailles=("${@:-1000000 10000000}")
runs=${RUNS:-3}
for p in python3-pandas time; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "$p" >/dev/null
done
cmake --build "$build" -j2 --target tamso-cli tamso_generer_donnees >/dev/null
fenetre=""
if cmake --build "$build" -j2 --target tamso_bench_fenetre >/dev/null 2>&1; then
  fenetre="$build/tamso_bench_fenetre"
fi
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

# tamso-cli run on a folder into an emptied output folder, with extra options (a script, so
# that /usr/bin/time can run it; emptying the folder costs nothing next to the run).
cat > "$travail/tamso" <<FIN
#!/usr/bin/env bash
d=\$1 out=\$2 fin=\$3; shift 3
rm -rf "\$out"; mkdir -p "\$out"
exec "$build/tamso-cli" run "$PWD/bench/logger.dsc" --data "\$d" --out "\$out" \\
  --from "07/11/2021 10:15:00" --to "\$fin" --step 00:15:00 --decimal-separator , "\$@"
FIN
chmod +x "$travail/tamso"
tamso="$travail/tamso"

echo "machine : $(nproc) cœurs, $(uname -m) ; fichiers en cache ; médianes de $runs exécutions"
printf '%-20s %7s %8s %9s %9s %10s %9s %8s %12s %12s\n' "données" "Mo" "wc -l s" "tamso s" "Mo/s" \
  "1 fil s" "pandas s" "ratio" "tamso Mio" "pandas Mio"
runs_demandes=$runs
for n in ${tailles[@]}; do
  runs=$runs_demandes
  (( n > 10000000 )) && runs=1
  for fichiers in 1 8; do
    d="$travail/d_${n}_$fichiers"; mkdir -p "$d"
    "$build/tamso_generer_donnees" "$n" "$fichiers" "$d"
    mo=$(du -cm "$d"/*.csv | tail -1 | cut -f1)
    fin=$(/usr/bin/python3 -c "
import datetime as dt; print((dt.datetime(2021,11,7,10,7)+dt.timedelta(minutes=$n*1.1)).strftime('%d/%m/%Y %H:%M:%S'))")
    cat "$d"/*.csv > /dev/null  # page cache
    read -r twc _ < <(mesurer wc -l "$d"/*.csv)
    read -r tt mt < <(mesurer "$tamso" "$d" "$travail/o_n" "$fin")
    read -r t1 _ < <(mesurer "$tamso" "$d" "$travail/o_1" "$fin" --threads 1)
    tp="-" mp="-"
    if (( n <= 10000000 )); then
      read -r tp mp < <(mesurer /usr/bin/python3 bench/pandas_equivalent.py "$d" "$travail/pandas.csv")
    fi
    # The same results whatever the number of threads.
    cmp -s "$travail/o_n/bench.txt" "$travail/o_1/bench.txt" ||
      { echo "les résultats diffèrent entre 1 fil et $(nproc) fils" >&2; exit 1; }
    ratio=$(awk -v a="$tp" -v b="$tt" 'BEGIN{if (a == "-") print "-"; else printf "%.1f", a/b}')
    debit=$(awk -v m="$mo" -v t="$tt" 'BEGIN{printf "%.0f", m/t}')
    printf '%-20s %7s %8s %9s %9s %10s %9s %8s %12s %12s\n' "$n l., $fichiers fich." "$mo" "$twc" \
      "$tt" "$debit" "$t1" "$tp" "${ratio}x" "$mt" "$mp"
    if [[ $fichiers == 1 ]]; then
      # Memory that does not come from the grid: the same file over one day.
      read -r tj mj < <(RUNS=1 mesurer "$tamso" "$d" "$travail/o_j" "08/11/2021 10:15:00")
      lignes=$(($(wc -l < "$travail/o_n/bench.txt") - 1))
      echo "    grille de $lignes lignes ; sur une journée (96 lignes) : $tj s, pic $mj Mio"
      if [[ -n $fenetre ]]; then
        QT_QPA_PLATFORM=offscreen "$fenetre" "$PWD/bench/logger.dsc" "$d" "07/11/2021 10:15:00" \
          "$fin" 00:15:00 "$runs" 2>/dev/null | grep -v '^  [0-9]' | sed 's/^/    /' |
          awk -v b="$tt" '{print} /^    fenêtre :/ {printf "    fenêtre / tamso-cli : %.2f\n", $3 / b}'
      fi
      if (( n <= 1000000 )); then
        read -r tr _ < <(RUNS=1 mesurer "$tamso" "$d" "$travail/o_r" "$fin" --reference)
        cmp -s "$travail/o_n/bench.txt" "$travail/o_r/bench.txt" ||
          { echo "la lecture rapide et la lecture pas à pas diffèrent" >&2; exit 1; }
        echo "    lecture pas à pas (--reference) : $tr s, mêmes résultats"
      fi
    fi
    rm -rf "$d"
  done
done
