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
  echo "No display found, so the Korvid workbench cannot open its window here."
  echo "Run 'make run' from a desktop session, or start it there yourself with:"
  echo "    $build_dir/bin/Korvid $example"
  exit 0
fi
echo "Starting the Korvid workbench on $example ..."
exec "$build_dir/bin/Korvid" "$example"
