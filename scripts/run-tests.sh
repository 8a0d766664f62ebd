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

# A free display number: the first one without a lock file.
display=90
while [ -e /tmp/.X${display}-lock ] || [ -e /tmp/.X11-unix/X${display} ]; do
  display=$((display + 1))
done
Xvfb :${display} -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=:${display}
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done
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
