#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it as a user's
# system would take it: its metadata and dependencies, its file list, the
# desktop entry and the AppStream metadata (their validators), the manual
# pages, the bash completion, and the programs run from where the package
# puts them (their version, their manual and examples found, an example run).
#   verifier_paquet.sh BUILD_DIR VERSION
set -u
construction=$1
version=$2
travail=$(mktemp -d "${TMPDIR:-/tmp}/tamso-paquet.XXXXXX")
trap 'rm -rf "$travail"' EXIT
echecs=0
echec() {
  echo "ÉCHEC : $*"
  echecs=$((echecs + 1))
}
contient() {  # contient TEXTE MOTIF MESSAGE
  grep -qF -- "$2" <<<"$1" || echec "$3 (attendu : $2)"
}

cpack --config "$construction/CPackConfig.cmake" -G DEB -B "$travail/paquets" >"$travail/cpack.log" 2>&1 ||
  { cat "$travail/cpack.log"; echo "ÉCHEC : cpack"; exit 1; }
shopt -s nullglob
paquets=("$travail"/paquets/tamso_*.deb)
[ ${#paquets[@]} -eq 1 ] || { echo "ÉCHEC : un paquet tamso_*.deb attendu : ${paquets[*]}"; exit 1; }
deb=${paquets[0]}
echo "paquet : $(basename "$deb")"
[ "$(basename "$deb")" = "tamso_${version}_$(dpkg --print-architecture).deb" ] ||
  echec "nom du paquet : $(basename "$deb")"

# ---- metadata: the dependencies come from the libraries linked ----
for champ in Package Version Section Architecture Depends Maintainer Homepage; do
  valeur=$(dpkg-deb -f "$deb" "$champ")
  [ -n "$valeur" ] || echec "champ $champ vide"
done
[ "$(dpkg-deb -f "$deb" Package)" = tamso ] || echec "Package"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || echec "Version : $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Section)" = science ] || echec "Section"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
noms_depends=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for lib in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libqcustomplot2.1-qt6 \
  libzip4 libexpat1 libqt6multimedia6; do
  grep -qxF -- "$lib" <<<"$noms_depends" || echec "Depends sans $lib"
done
# Versions taken from the libraries' own symbols files, not written by hand.
grep -qE 'libc6 \(>= [0-9.]+\)' <<<"$depends" || echec "Depends : libc6 sans version minimale"

# ---- files: each in its standard place, nothing else ----
liste=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's#^\./#/#')
attendus=(
  /usr/bin/tamso
  /usr/bin/tamso-cli
  /usr/share/tamso/tamso_manuel.pdf
  /usr/share/tamso/examples/riviere.dsc
  /usr/share/tamso/examples/riviere/station_amont_2021-11.csv
  /usr/share/tamso/examples/meteo.dsc
  /usr/share/tamso/examples/puits.dsc
  /usr/share/tamso/examples/source.dsc
  /usr/share/applications/org.example.tamso.desktop
  /usr/share/metainfo/org.example.tamso.metainfo.xml
  /usr/share/icons/hicolor/scalable/apps/org.example.tamso.svg
  /usr/share/man/man1/tamso.1.gz
  /usr/share/man/man1/tamso-cli.1.gz
  /usr/share/bash-completion/completions/tamso-cli
)
for taille in 16 22 24 32 48 64 128 256; do
  attendus+=("/usr/share/icons/hicolor/${taille}x${taille}/apps/org.example.tamso.png")
done
for f in "${attendus[@]}"; do
  grep -qxF -- "$f" <<<"$liste" || echec "absent du paquet : $f"
done
while IFS= read -r f; do
  case $f in
    /usr/ | /usr/bin/ | /usr/bin/tamso | /usr/bin/tamso-cli | /usr/share/ | /usr/share/tamso/* | \
      /usr/share/applications/* | /usr/share/metainfo/* | /usr/share/icons/* | /usr/share/man/* | \
      /usr/share/bash-completion/* | /usr/share/tamso/ | /usr/share/applications/ | \
      /usr/share/metainfo/ | /usr/share/bash-completion/) ;;
    *) echec "fichier inattendu dans le paquet : $f" ;;
  esac
done <<<"$liste"

# ---- the files as installed ----
racine=$travail/racine
dpkg-deb -x "$deb" "$racine"
desktop-file-validate "$racine/usr/share/applications/org.example.tamso.desktop" ||
  echec "desktop-file-validate"
grep -qx 'Exec=tamso %f' "$racine/usr/share/applications/org.example.tamso.desktop" ||
  echec "le lanceur ne démarre pas tamso"
grep -qx 'Icon=org.example.tamso' "$racine/usr/share/applications/org.example.tamso.desktop" ||
  echec "le lanceur ne nomme pas l'icône installée"
appstreamcli validate --no-net "$racine/usr/share/metainfo/org.example.tamso.metainfo.xml" ||
  echec "appstreamcli validate"
grep -qF "<release version=\"$version\"" "$racine/usr/share/metainfo/org.example.tamso.metainfo.xml" ||
  echec "métadonnées AppStream sans la version $version"
for taille in 16 48 256; do
  png=$racine/usr/share/icons/hicolor/${taille}x${taille}/apps/org.example.tamso.png
  file -b "$png" | grep -q "PNG image data, $taille x $taille" || echec "icône $taille : $(file -b "$png")"
done
for page in tamso tamso-cli; do
  gz=$racine/usr/share/man/man1/$page.1.gz
  gzip -t "$gz" || echec "$page.1.gz n'est pas un gzip"
  avertissements=$(zcat "$gz" | groff -K utf8 -man -Tutf8 -ww -z 2>&1)
  [ -z "$avertissements" ] || echec "$page(1) : $avertissements"
  texte=$(zcat "$gz")
  contient "$texte" "Tamso $version" "$page(1) sans la version"
  contient "$texte" "/usr/share/tamso/tamso_manuel.pdf" "$page(1) ne dit pas où est le manuel"
done
contient "$(zcat "$racine/usr/share/man/man1/tamso-cli.1.gz")" ".SH EXIT STATUS" \
  "tamso-cli(1) sans ses statuts de sortie"

# ---- the programs, from where the package puts them ----
v=$("$racine/usr/bin/tamso-cli" --version)
[ "$v" = "tamso-cli $version" ] || echec "tamso-cli --version : $v"
# No display is needed to ask the desktop program its version.
v=$(env -u DISPLAY -u WAYLAND_DISPLAY "$racine/usr/bin/tamso" --version)
[ "$v" = "tamso $version" ] || echec "tamso --version : $v"
aide=$("$racine/usr/bin/tamso-cli" --help)
contient "$aide" "$racine/usr/share/tamso/tamso_manuel.pdf" "tamso-cli ne trouve pas son manuel"
contient "$aide" "$racine/usr/share/tamso/examples/" "tamso-cli ne trouve pas ses exemples"
contient "$aide" "6  write failure" "tamso-cli --help sans les statuts de sortie"
# An example run from the installed examples gives what the built program gives.
for cas in installe construit; do
  programme=$racine/usr/bin/tamso-cli
  [ "$cas" = construit ] && programme=$construction/tamso-cli
  TAMSO_HOME=$travail/home-$cas "$programme" run "$racine/usr/share/tamso/examples/riviere.dsc" \
    --out "$travail/sortie-$cas" --decimal-separator , >"$travail/run-$cas.txt" 2>&1 ||
    echec "exemple lancé par $programme : $(cat "$travail/run-$cas.txt")"
done
[ -s "$travail/sortie-installe/riviere_horaire.txt" ] || echec "exemple installé : pas de résultats"
cmp -s "$travail/sortie-installe/riviere_horaire.txt" "$travail/sortie-construit/riviere_horaire.txt" ||
  echec "l'exemple installé ne donne pas les résultats du programme construit"

# ---- the bash completion ----
if [ ! -f /usr/share/bash-completion/bash_completion ]; then
  echec "bash-completion absent (scripts/paquets.txt) : complétion non vérifiée"
else
  completer() {  # completer MOT... : the candidates for the last word
    bash -c '
      source /usr/share/bash-completion/bash_completion
      source "$1"; shift
      COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
      COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
      _tamso_cli tamso-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
      printf "%s\n" "${COMPREPLY[@]}" | sort' _ \
      "$racine/usr/share/bash-completion/completions/tamso-cli" "$@"
  }
  [ "$(completer tamso-cli ru)" = run ] || echec "complétion de 'ru' : $(completer tamso-cli ru)"
  [ "$(completer tamso-cli run --jo)" = --jobs ] || echec "complétion de '--jo'"
  [ "$(completer tamso-cli run --summary)" = --summary-json ] || echec "complétion de '--summary'"
  [ "$(completer tamso-cli run A.dsc --test '')" = "$(printf 'le\nlt')" ] ||
    echec "complétion de --test"
  # A description is a .dsc file (or a folder on the way to one), never a data file.
  mkdir -p "$travail/descriptions/stations"
  touch "$travail/descriptions/station.dsc" "$travail/descriptions/station.csv"
  candidats=$(cd "$travail/descriptions" && completer tamso-cli run --jobs 2 st)
  [ "$candidats" = "$(printf 'station.dsc\nstations')" ] ||
    echec "complétion d'une description : $candidats"
fi

if [ "$echecs" -gt 0 ]; then
  echo "$echecs échec(s)"
  exit 1
fi
echo "paquet vérifié"
