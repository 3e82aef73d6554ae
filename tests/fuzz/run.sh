#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build tree for a given time each:
#   tests/fuzz/run.sh <build-fuzz> <seconds> [extra libFuzzer options]
# New inputs go to <build-fuzz>/fuzz/corpus/<name>/ (the seeds in the tree
# are only read); crashes are written to <build-fuzz>/fuzz/artifacts/.
# Exits non-zero when any target found a crash, a leak or a time-out.
set -euo pipefail
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

status=0
while read -r name; do
  [ -n "$name" ] || continue
  corpus=$build/fuzz/corpus/$name
  artifacts=$build/fuzz/artifacts
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [ -d "$here/corpus/$name" ] && seeds=("$here/corpus/$name")
  dict=$here/$name.dict
  [ -f "$dict" ] || dict=$here/velmo.dict
  echo "==== fuzz_$name for ${seconds}s"
  if ! "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -dict="$dict" -artifact_prefix="$artifacts/$name-" -print_final_stats=1 \
      "$@" "$corpus" "${seeds[@]}"; then
    echo "fuzz_$name: FAILED (see $artifacts)"
    status=1
  fi
done < "$build/fuzz/targets.txt"
exit $status
