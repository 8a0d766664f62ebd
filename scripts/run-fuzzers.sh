#!/usr/bin/env bash
# Runs each libFuzzer target of a build folder for the given number of seconds.
set -uo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
status=0
for fuzzer in "$build"/bin/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "== $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "$corpus" || status=1
done
exit $status
