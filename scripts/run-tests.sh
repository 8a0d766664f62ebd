#!/usr/bin/env bash
# Runs every CTest test of a build folder with a private X server (Xvfb, with
# a compositor so per-pixel alpha blends) and a private PulseAudio server with
# a null sink.  Both are started here and stopped when the run ends, so the
# tests never touch the user's desktop or sound.
# KESTREL_TEST_LABEL limits the run to tests with that CTest label.
set -uo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")/.." && pwd)

pids=()
cleanup() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  [ -n "${pulse_dir:-}" ] && { PULSE_RUNTIME_PATH=$pulse_dir pulseaudio --kill 2>/dev/null; rm -rf "$pulse_dir"; }
  [ -n "${test_home:-}" ] && rm -rf "$test_home"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the given file
# descriptor once it accepts connections, so two test runs started at the
# same moment never share one server (and its one pointer).
display_file=$(mktemp /tmp/kestrel-display.XXXXXX)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 200); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
display=$(tr -dc '0-9' <"$display_file")
rm -f "$display_file"
if [ -z "$display" ]; then
  echo "run-tests: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=:${display}
if command -v xcompmgr >/dev/null; then
  xcompmgr >/dev/null 2>&1 &
  pids+=($!)
fi

# Tests get a home of their own so that nothing lands in the real one.
test_home=$(mktemp -d /tmp/kestrel-test-home.XXXXXX)
export HOME=$test_home XDG_DATA_HOME=$test_home/.local/share XDG_CONFIG_HOME=$test_home/.config
export XDG_RUNTIME_DIR=$test_home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

if command -v pulseaudio >/dev/null; then
  pulse_dir=$(mktemp -d /tmp/kestrel-pulse.XXXXXX)
  export PULSE_RUNTIME_PATH=$pulse_dir PULSE_STATE_PATH=$pulse_dir
  pulseaudio -n --daemonize=yes --exit-idle-time=-1 --disallow-exit --system=false \
    -L module-native-protocol-unix -L "module-null-sink sink_name=test rate=48000" \
    -L module-always-sink >/dev/null 2>&1 || echo "note: pulseaudio did not start; audio tests will skip"
  export PULSE_SERVER=unix:$pulse_dir/native
fi

args=(--test-dir "$build" --output-on-failure -j "$(nproc)")
[ -n "${KESTREL_TEST_LABEL:-}" ] && args+=(-L "$KESTREL_TEST_LABEL")
ctest "${args[@]}"
