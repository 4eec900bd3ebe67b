#!/usr/bin/env bash
# The main job: the window with the example project when a display is there, otherwise the
# headless download of the example project to a virtual module.
set -euo pipefail
build=${1:-build}
project=examples/demo/demo.Tavo
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/tavo" ]; then
    exec "$build/tavo" "$project"
fi
out=out/pages
mkdir -p "$out"
"$build/tavo-cli" download "$project" --port virtual --with-pictures --render "$out"
