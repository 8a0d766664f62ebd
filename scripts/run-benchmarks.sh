#!/usr/bin/env bash
# Runs every benchmark program of a build folder; each prints its own figures
# and the ratios against its peer or goal.
set -uo pipefail
build=${1:-build-bench}
status=0
for bench in "$build"/bin/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" || status=1
done
exit $status
