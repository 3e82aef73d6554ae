#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build tree for a given time each:
#   tests/fuzz/run.sh <build-fuzz> <seconds> [extra libFuzzer options]
# FUZZ_JOBS=N runs N targets at a time (default 1); each target's output is
# printed whole when it ends.
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
jobs=${FUZZ_JOBS:-1}
logs=$build/fuzz/logs
mkdir -p "$logs"

# Runs one target; its output goes to logs/<name>.log, its verdict to
# logs/<name>.failed when it found something.
run_target() {
  local name=$1
  shift
  local corpus=$build/fuzz/corpus/$name artifacts=$build/fuzz/artifacts
  mkdir -p "$corpus" "$artifacts"
  local seeds=()
  [ -d "$here/corpus/$name" ] && seeds=("$here/corpus/$name")
  local dict=$here/$name.dict
  [ -f "$dict" ] || dict=$here/velmo.dict
  rm -f "$logs/$name.failed"
  if ! "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -dict="$dict" -artifact_prefix="$artifacts/$name-" -print_final_stats=1 \
      "$@" "$corpus" "${seeds[@]}" > "$logs/$name.log" 2>&1; then
    touch "$logs/$name.failed"
  fi
}

names=()
while read -r name; do
  [ -n "$name" ] && names+=("$name")
done < "$build/fuzz/targets.txt"

running=0
for name in "${names[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  echo "==== fuzz_$name for ${seconds}s"
  run_target "$name" "$@" &
  running=$((running + 1))
done
wait

status=0
for name in "${names[@]}"; do
  echo "==== fuzz_$name"
  tail -n 40 "$logs/$name.log"
  if [ -e "$logs/$name.failed" ]; then
    echo "fuzz_$name: FAILED (see $build/fuzz/artifacts and $logs/$name.log)"
    status=1
  fi
done
exit $status
