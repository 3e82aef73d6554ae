#!/usr/bin/env bash
# Compiles the example program with the freshly built compiler, shows the
# result, then starts the workbench on it.
set -euo pipefail
build_dir=${1:-build}
example=examples/hello.bas

"$build_dir/bin/velc" "$example"
echo "---- ${example%.bas}.lst ----"
cat "${example%.bas}.lst"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo
  echo "make run: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set),"
  echo "so the Korvid workbench cannot open its window here."
  echo "Korvid is a desktop program: run 'make run' from a terminal in your desktop"
  echo "session (or over 'ssh -X'), or start it there yourself with:"
  echo "    $build_dir/bin/Korvid $example"
  echo "To check that it starts without a display:"
  echo "    QT_QPA_PLATFORM=offscreen $build_dir/bin/Korvid $example"
  exit 1
fi
echo "Starting the Korvid workbench on $example ..."
exec "$build_dir/bin/Korvid" "$example"
