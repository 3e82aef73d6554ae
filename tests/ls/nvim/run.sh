#!/usr/bin/env bash
# Runs velmo-ls under neovim's own LSP client, headless, and checks what the
# client received: the engine's messages on an unsaved error, hover text and
# a definition in an include file.
#   run.sh <program folder> <work folder>     (VELMO_LS: the server program)
# A missing nvim fails the test: tools/bootstrap.sh installs it.
set -euo pipefail
program=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v nvim > /dev/null; then
  echo "nvim not found: run tools/bootstrap.sh" >&2
  exit 1
fi
mkdir -p "$work"
result=$work/result.txt
rm -f "$result"
export VELMO_PROGRAM=$program VELMO_RESULT=$result
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state XDG_CACHE_HOME=$work/cache
timeout 90 nvim --headless -u NONE -i NONE -n -c "luafile $here/client.lua" < /dev/null
echo "--- what the client received"
cat "$result"

expect() {
  if ! grep -qF -- "$1" "$result"; then
    echo "missing: $1" >&2
    exit 1
  fi
}
expect "diagnostic 7 "
expect "hover SOUND expression [, expression]"
expect "definition common.bas 4"
expect "signature 1 SOUND expression [, expression]"
expect "cleared"
echo "neovim client test passed"
