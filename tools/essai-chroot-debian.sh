#!/usr/bin/env bash
# Installs the Debian package in a fresh Debian 12 made with debootstrap and
# starts both programs there, as a user of a new machine would: apt-get
# install of the package (its dependencies from Debian's archive),
# tamso-cli --version and an example run from the installed paths, the
# desktop entry where the menus look, and tamso started under xvfb-run with
# a screenshot of its window.
#   tools/essai-chroot-debian.sh PAQUET.deb [CHROOT] [CAPTURE.png]
# Needs root, debootstrap and the network (Debian's archive). Slow: not run
# by the tests. The chroot is kept for another trial; it is made when missing.
set -euo pipefail
paquet=$(realpath "$1")
racine=${2:-/var/tmp/tamso-bookworm}
capture=${3:-$PWD/tamso-chroot.png}
miroir=${MIROIR:-http://deb.debian.org/debian}

if [ ! -x "$racine/usr/bin/apt-get" ]; then
  echo "== debootstrap bookworm $racine"
  debootstrap --variant=minbase bookworm "$racine" "$miroir"
fi

montes=()
monter() {
  mount --bind "$1" "$racine$1"
  montes=("$racine$1" "${montes[@]}")
}
demonter() {
  for m in "${montes[@]}"; do umount -l "$m" || true; done
}
trap demonter EXIT
monter /proc
monter /sys
monter /dev
monter /dev/pts
cp /etc/resolv.conf "$racine/etc/resolv.conf"
dans() { chroot "$racine" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

echo "== the package into the chroot"
rm -f "$racine"/root/tamso_*.deb
cp "$paquet" "$racine/root/"
nom=$(basename "$paquet")
dans apt-get -qq update
echo "\$ apt-get install ./$nom"
dans sh -c "cd /root && DEBIAN_FRONTEND=noninteractive apt-get install -y ./$nom" |
  grep -E '^(Setting up tamso|The following NEW|Need to get|[0-9]+ upgraded)' || true
dans dpkg -s tamso | grep -E '^(Package|Version|Status|Depends)'

echo "== the batch program, from the installed paths"
for commande in "command -v tamso" "command -v tamso-cli" "tamso-cli --version" "tamso --version" \
  "ls -l /usr/share/applications/org.example.tamso.desktop /usr/share/tamso/" \
  "cat /usr/share/applications/org.example.tamso.desktop" \
  "tamso-cli run /usr/share/tamso/examples/riviere.dsc --out /root/essai --decimal-separator ," \
  "head -4 /root/essai/riviere_horaire.txt" \
  "ls /usr/share/man/man1/tamso.1.gz /usr/share/man/man1/tamso-cli.1.gz" \
  "ls /usr/share/icons/hicolor/*/apps/org.example.tamso.*"; do
  echo "\$ $commande"
  dans sh -c "$commande" 2>&1 || echo "(statut $?)"
done

echo "== the desktop program under xvfb-run"
DEBIAN_FRONTEND=noninteractive dans apt-get install -y -qq --no-install-recommends xvfb xauth \
  xdotool imagemagick >/dev/null
dans sh -c 'rm -rf /root/.local/share/tamso /root/tamso.png
xvfb-run -a -s "-screen 0 1366x768x24" sh -c "
  tamso /usr/share/tamso/examples/riviere.dsc >/root/tamso.log 2>&1 &
  programme=\$!
  sleep 8
  fenetre=\$(xdotool search --name \"T a m s o\" | head -1)
  echo fenêtre \$fenetre : \$(xdotool getwindowname \$fenetre)
  # No window manager: the window is given the focus, then F5 lists the files.
  xdotool windowfocus --sync \$fenetre
  xdotool key F5
  sleep 3
  import -window root /root/tamso.png
  kill \$programme"
cat /root/tamso.log'
cp "$racine/root/tamso.png" "$capture"
echo "capture : $capture"
