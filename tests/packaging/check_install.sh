#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what the desktop reads:
# the desktop entry, the file kinds, the icons, the manual pages, the samples.
set -euo pipefail
build_dir=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build_dir" --prefix /usr > /dev/null
share="$root/usr/share"

for f in usr/bin/vorelbox usr/bin/vorelbox-cli usr/libexec/vorelbox/vorelbox-plot \
         usr/share/vorelbox/Readme.txt usr/share/vorelbox/Vorelbox-manual.html \
         usr/share/vorelbox/samples/pals-4096.vsl usr/share/vorelbox/samples/pals-maestro.chn \
         usr/share/applications/vorelbox.desktop usr/share/mime/packages/vorelbox.xml \
         usr/share/icons/hicolor/scalable/apps/vorelbox.svg usr/share/icons/hicolor/48x48/apps/vorelbox.png \
         usr/share/man/man1/vorelbox.1.gz usr/share/man/man1/vorelbox-cli.1.gz \
         usr/share/doc/vorelbox/copyright usr/share/doc/vorelbox/changelog.gz; do
  [ -e "$root/$f" ] || { echo "missing: /$f"; exit 1; }
done

desktop-file-validate "$share/applications/vorelbox.desktop"

# The MIME database built from the installed file knows the three kinds.
mkdir -p "$root/mime/packages"
cp "$share/mime/packages/vorelbox.xml" "$root/mime/packages/"
update-mime-database "$root/mime"
for pattern in '*.vsl' '*.chn' '*.spe'; do
  grep -q ":$pattern\$" "$root/mime/globs2" || { echo "no MIME type for $pattern"; exit 1; }
done
grep -q 'application/x-vorelbox-spectrum-list' "$root/mime/magic"

# The installed tool finds its plot program and reads the installed samples.
"$root/usr/bin/vorelbox-cli" --version | grep -q '^vorelbox-cli '
"$root/usr/bin/vorelbox-cli" info "$share/vorelbox/samples/pals-4096.dat" | grep -q '"spectra":4,'
QT_QPA_PLATFORM=offscreen "$root/usr/bin/vorelbox-cli" plot "$share/vorelbox/samples/pals-1024.dat" \
  -o "$root/plot.png" | grep -q '"messages":\[\]'
[ -s "$root/plot.png" ]
for page in vorelbox vorelbox-cli; do
  zcat "$share/man/man1/$page.1.gz" | grep -q '^\.TH'
done
echo "install tree checked"
