#!/usr/bin/env bash
# Compiles the example program with the freshly built compiler and shows the result.
set -euo pipefail
build_dir=${1:-build}
"$build_dir/bin/velc" examples/hello.bas
echo "---- examples/hello.lst ----"
cat examples/hello.lst
