#!/usr/bin/env bash
# Installs a build tree into a temporary DESTDIR, checks that every file of
# the installation is there, compiles an example with the installed velc and
# runs it on the installed velsim. CI runs it; run it yourself with
#   bash tools/check_install.sh [build-dir]
set -euo pipefail
build_dir=${1:-build}
prefix=/usr
stage=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$stage" "$work"' EXIT

DESTDIR="$stage" cmake --install "$build_dir" --prefix "$prefix" > "$work/install.log"
root="$stage$prefix"

expected=(
  bin/velc bin/velsim bin/velload bin/Korvid bin/velmo-ls
  share/man/man1/velmo-ls.1
  share/velmo/editors/velmo.tmLanguage.json share/velmo/editors/language-configuration.json
  share/velmo/editors/README.md
  share/man/man1/velc.1 share/man/man1/velsim.1 share/man/man1/velload.1
  share/velmo/Help/Velmo.pdf
  share/velmo/examples/hello.bas share/velmo/examples/station/station.bas
  share/velmo/examples/station/lib/sensors.bas
  share/applications/korvid.desktop
  share/mime/packages/velmo.xml
  share/icons/hicolor/16x16/apps/korvid.png share/icons/hicolor/48x48/apps/korvid.png
  share/icons/hicolor/256x256/apps/korvid.png share/icons/hicolor/48x48/mimetypes/text-x-velmo.png
)
missing=0
for file in "${expected[@]}"; do
  if [ ! -s "$root/$file" ]; then
    echo "check_install: missing from the installation: $prefix/$file"
    missing=1
  fi
done
[ "$missing" -eq 0 ]

# A staged install must not touch the desktop caches of the machine.
if [ -e "$root/share/mime/mime.cache" ] || [ -e "$root/share/icons/hicolor/icon-theme.cache" ]; then
  echo "check_install: a staged install updated the desktop caches"
  exit 1
fi

if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$root/share/applications/korvid.desktop"
fi

# The installed compiler and simulated module, on a copy of the installed examples.
cp -r "$root/share/velmo/examples" "$work/examples"
"$root/bin/velc" "$work/examples/hello.bas" > "$work/velc.txt"
if ! grep -q '^0 - Error(s)\.' "$work/velc.txt"; then
  cat "$work/velc.txt"
  echo "check_install: the installed velc did not compile hello.bas"
  exit 1
fi
"$root/bin/velc" "$work/examples/station/station.bas" > "$work/station.txt"
grep -q '^0 - Error(s)\.' "$work/station.txt" || { cat "$work/station.txt"; exit 1; }
"$root/bin/velsim" "$work/examples/hello.hex" < /dev/null > "$work/run.txt"
if [ "$(grep -c 'Hello from Velmo!' "$work/run.txt")" -ne 10 ]; then
  cat "$work/run.txt"
  echo "check_install: the installed velsim did not run hello.hex"
  exit 1
fi
# The installed velload downloads hello.hex to the simulated module beside it.
if ! timeout 60 "$root/bin/velload" --port sim "$work/examples/hello.hex" > "$work/load.txt" 2>&1; then
  cat "$work/load.txt"
  echo "check_install: the installed velload did not download hello.hex to the simulated module"
  exit 1
fi
# The installed language server answers an initialize request and ends on shutdown and exit.
ls_message() { printf 'Content-Length: %d\r\n\r\n%s' "${#1}" "$1"; }
{
  ls_message '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{}}'
  ls_message '{"jsonrpc":"2.0","id":2,"method":"shutdown"}'
  ls_message '{"jsonrpc":"2.0","method":"exit"}'
} | timeout 30 "$root/bin/velmo-ls" > "$work/ls.txt"
if ! grep -q '"hoverProvider":true' "$work/ls.txt"; then
  cat "$work/ls.txt"
  echo "check_install: the installed velmo-ls did not answer initialize"
  exit 1
fi
echo "check_install: $(find "$root" -type f | wc -l) files installed under $prefix; velc, velsim, velload and velmo-ls work"
