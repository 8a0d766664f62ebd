#!/usr/bin/env bash
# Runs Kestrel against the virtual keyboard, so every feature can be tried
# without the hardware: the simulator is preloaded in hidapi's place, and
# the data goes to a demo home that is kept between runs (demo/ in the
# build folder).  After the session the keyboard's decoded state is shown.
set -uo pipefail
build=${1:-build}
bin=$(cd "$build/bin" && pwd)
demo=$(cd "$build" && pwd)/demo
mkdir -p "$demo/home"
export HOME=$demo/home XDG_DATA_HOME=$demo/home/.local/share XDG_CONFIG_HOME=$demo/home/.config
export KESTREL_VK_CONTROL=$demo/keyboard.control
[ -f "$KESTREL_VK_CONTROL" ] || printf 'modes=0\ntrace=%s\nstate=%s\n' "$demo/trace" "$demo/state.json" >"$KESTREL_VK_CONTROL"
export LD_PRELOAD=$bin/libkestrel-virtual-keyboard.so

echo "Virtual keyboard: wired mode connected (edit $KESTREL_VK_CONTROL: modes=0,1,2 plugs modes in)."
"$bin/kestrel"
if [ -x "$bin/kestrelctl" ]; then
  echo
  echo "== kestrelctl devices"
  "$bin/kestrelctl" devices
  echo "== kestrelctl profiles list"
  "$bin/kestrelctl" profiles list
  echo "== kestrelctl apply"
  "$bin/kestrelctl" apply
fi
if [ -f "$demo/state.json" ]; then
  echo
  echo "What the virtual keyboard holds now ($demo/state.json):"
  head -c 2000 "$demo/state.json"
  echo
fi
