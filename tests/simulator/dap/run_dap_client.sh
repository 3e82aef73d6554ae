#!/bin/sh
# Installs the DAP test client from npm into the build tree (once) and runs
# dap_client.js with it. Fails, never skips, when node or npm is missing or
# the package cannot be installed.
# Usage: run_dap_client.sh <velsim> <folder for node_modules>
set -eu
velsim=$1
folder=$2
mkdir -p "$folder"
if [ ! -f "$folder/node_modules/@vscode/debugadapter-testsupport/package.json" ]; then
  npm install --prefix "$folder" --no-audit --no-fund --no-save "@vscode/debugadapter-testsupport@^1.68.0" >&2
fi
exec node "$(dirname "$0")/dap_client.js" "$velsim" "$folder"
